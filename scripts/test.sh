#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test. Widget tests use Qt's
# offscreen platform; the whole ctest run sits inside one virtual X server so the tests that
# need real windows and X11 key grabs have one. Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-test"

"$root/scripts/deps.sh"
# Qt wants a private runtime folder; a root shell or a bare CI job often has none.
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
    export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j"$(nproc)"

xvfb-run -a -s "-screen 0 1600x1200x24" \
    ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300

# Every fuzz target a few seconds on its seeds (and on the inputs of earlier findings), so a
# broken fuzz build or a fault in a reader fails the test command.
"$root/scripts/fuzz.sh" -t 5

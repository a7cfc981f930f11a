#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts the program.
# Extra arguments go to the program (for example a picture to open).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/deps.sh"
# Qt wants a private runtime folder; a root shell or a bare CI job often has none.
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
    export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fi
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release \
      -DPORTIQA_BUILD_TESTS=OFF -DPORTIQA_BUILD_BENCH=OFF > /dev/null
cmake --build "$root/build-release" --target portiqa -j"$(nproc)"

exec "$root/build-release/src/app/portiqa" "$@"

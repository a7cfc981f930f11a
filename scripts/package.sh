#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, makes a release build in build-deb/ and
# runs CPack's DEB generator. Prints the package's path; install it with
#   apt install ./build-deb/portiqa_<version>_<arch>.deb
# Extra arguments go to CMake, e.g. -DPORTIQA_HOMEPAGE=https://photos.example.net/
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-deb"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DPORTIQA_BUILD_TESTS=OFF -DPORTIQA_BUILD_BENCH=OFF "$@" > /dev/null
cmake --build "$build" --target portiqa -j"$(nproc)"
(cd "$build" && cpack -G DEB > cpack.log) || { cat "$build/cpack.log" >&2; exit 1; }
ls "$build"/portiqa_*.deb

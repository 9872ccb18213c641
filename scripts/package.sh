#!/usr/bin/env bash
# Builds the Debian package ludra_<version>_<arch>.deb: a Release build in build-package (or the
# given build folder, as the tests use theirs), installed and packed by CPack with the
# dependencies computed from the binaries. Prints the package's path as its last line.
# Usage: scripts/package.sh [BUILD_FOLDER [OUTPUT_FOLDER]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" package >&2
build=${1:-$root/build-package}
output=${2:-$build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUDRA_TESTS=OFF \
        -DCMAKE_INSTALL_PREFIX=/usr >&2
fi
cmake --build "$build" -j "$(nproc)" >&2
mkdir -p "$output"
cpack --config "$build/CPackConfig.cmake" -B "$output" >&2
find "$output" -maxdepth 1 -name 'ludra_*.deb' -newer "$build/CPackConfig.cmake" -print | sort | tail -1

#!/usr/bin/env bash
# Builds everything and runs every test: the unit tests (g++), the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer (clang), and a short
# fuzzing run of every reader. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" test

jobs=$(nproc)
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$root/$dir" -G Ninja -DLUDRA_WERROR=ON "$@" >/dev/null
    cmake --build "$root/$dir" -j "$jobs"
}
clang=(-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14)

echo "== Unit, window and end-to-end tests (g++), benchmarks built"
configure_and_build build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUDRA_BENCH=ON
ctest --test-dir build-test --output-on-failure -j "$jobs"

echo "== Unit and window tests under AddressSanitizer and UndefinedBehaviorSanitizer (clang)"
configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug -DLUDRA_SANITIZE=ON "${clang[@]}"
# Full stacks, so that the suppressions recognise a library's own leak wherever it happens.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS=suppressions=$root/tests/lsan.supp ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== Fuzzing every reader briefly (clang, libFuzzer)"
configure_and_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUDRA_FUZZ=ON -DLUDRA_TESTS=OFF -DLUDRA_GUI=OFF "${clang[@]}" \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
"$root/scripts/fuzz.sh" "$root/build-fuzz" "${LUDRA_FUZZ_RUNS:-100000}"

echo "All tests passed."

#!/usr/bin/env bash
# Checks the formatting, builds everything and runs every test: the unit tests (g++), the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer (clang), and a short
# fuzzing run of every reader. Every stage runs even when an earlier one
# fails; the summary at the end names the failed stages and the exit code is
# non-zero when any failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" test || exit 1

# The same results whatever the caller's environment: a UTF-8 locale that every
# Debian system has (English messages: no LANGUAGE to override it), and a runtime folder of our own for the sound and display
# libraries (without one they leave folders in /tmp).
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset LANGUAGE
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime

jobs=$(nproc)
clang=(-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14)
failed=()

configure_and_build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$root/$dir" -G Ninja -DLUDRA_WERROR=ON "$@" >/dev/null &&
        cmake --build "$root/$dir" -j "$jobs"
}

# stage NAME COMMAND...: runs one stage and notes its failure.
stage() {
    local name=$1
    shift
    echo "== $name"
    "$@" || failed+=("$name")
}

# Every C++ file as .clang-format lays it out.
formatting() {
    find app core gui tools tests fuzz bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format-14 --dry-run --Werror
}

unit_tests() {
    configure_and_build build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUDRA_BENCH=ON -DCMAKE_INSTALL_PREFIX=/usr &&
        ctest --test-dir build-test --output-on-failure -j "$jobs"
}

sanitizer_tests() {
    configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug -DLUDRA_SANITIZE=ON "${clang[@]}" || return 1
    # Full stacks, so that the suppressions recognise a library's own leak wherever it happens.
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0 UBSAN_OPTIONS=print_stacktrace=1 \
        LSAN_OPTIONS=suppressions=$root/tests/lsan.supp ctest --test-dir build-asan --output-on-failure -j "$jobs"
}

fuzzing() {
    configure_and_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUDRA_FUZZ=ON -DLUDRA_TESTS=OFF \
        -DLUDRA_GUI=OFF "${clang[@]}" -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" &&
        "$root/scripts/fuzz.sh" "$root/build-fuzz" "${LUDRA_FUZZ_RUNS:-100000}" "${LUDRA_FUZZ_SECONDS:-60}"
}

stage "Formatting (clang-format)" formatting
stage "Unit, window and end-to-end tests (g++), benchmarks built" unit_tests
stage "Unit and window tests under AddressSanitizer and UndefinedBehaviorSanitizer (clang)" sanitizer_tests
stage "Fuzzing every reader briefly (clang, libFuzzer)" fuzzing

if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed stages:"
    printf '  %s\n' "${failed[@]}"
    echo "Screenshots of failed end-to-end tests: build-test/screenshots/failure-*.png, build-asan/screenshots/failure-*.png"
    exit 1
fi
echo "All tests passed."

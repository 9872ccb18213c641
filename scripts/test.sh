#!/usr/bin/env bash
# Checks the formatting and the shell scripts, builds everything and runs every test: the unit tests (g++), the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer (clang), and a short
# fuzzing run of every reader. Every stage runs even when an earlier one
# fails; the summary at the end names the failed stages and the exit code is
# non-zero when any failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
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
failed=()

# The three builds are the presets of CMakePresets.json: test, asan and fuzz, each in build-NAME.
configure_and_build() {
    cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs"
}

# stage NAME COMMAND...: runs one stage and notes its failure.
stage() {
    local name=$1
    shift
    echo "== $name"
    "$@" || failed+=("$name")
}

# Every C++ file as .clang-format lays it out, and every shell script as shellcheck wants it.
formatting() {
    local status=0
    find app core gui tools tests fuzz bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format-14 --dry-run --Werror || status=1
    shell_scripts | xargs -0 -r shellcheck -x || status=1
    return $status
}

# Every shell script of the repository: *.sh, and the files whose first line runs bash or sh.
shell_scripts() {
    local file first
    git ls-files -z | while IFS= read -r -d '' file; do
        [ -f "$file" ] || continue
        first=
        IFS= read -r first <"$file" || true
        if [[ $file == *.sh || $first =~ ^#!.*[/\ ](ba)?sh(\ |$) ]]; then
            printf '%s\0' "$file"
        fi
    done
}

unit_tests() {
    configure_and_build test && ctest --preset test -j "$jobs"
}

# The preset's ASAN_OPTIONS keep full stacks, so that the suppressions recognise a library's own
# leak wherever it happens.
sanitizer_tests() {
    configure_and_build asan && ctest --preset asan -j "$jobs"
}

fuzzing() {
    configure_and_build fuzz &&
        "$root/scripts/fuzz.sh" "$root/build-fuzz" "${LUDRA_FUZZ_RUNS:-100000}" "${LUDRA_FUZZ_SECONDS:-60}"
}

stage "Formatting and shell scripts (clang-format, shellcheck)" formatting
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

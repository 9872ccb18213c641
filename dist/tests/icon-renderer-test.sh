#!/usr/bin/env bash
# ludra-icon renders any SVG to a square transparent PNG, and refuses what it can't
# do without leaving a file behind.
# Usage: icon-renderer-test.sh LUDRA_ICON
set -u
tool=$1
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export XDG_RUNTIME_DIR=$work
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# expect_status STATUS ARGUMENT...: the tool ends with STATUS and writes no out.png.
expect_status() {
    local expected=$1
    shift
    "$tool" "$@" 2>/dev/null
    local status=$?
    ((status == expected)) || fail "ludra-icon $* ended with $status, not $expected"
    [[ ! -e out.png ]] || fail "ludra-icon $* left out.png"
    rm -f out.png
}

# A wide drawing: it is centred in the square, so the corners stay transparent.
cat >wide.svg <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="40" height="20"><rect width="40" height="20" fill="#2A9D8F"/></svg>
SVG
echo 'not a picture' >broken.svg

"$tool" wide.svg 48 wide.png || fail "ludra-icon refused a valid SVG"
info=$("$here/png-info.py" wide.png 2>&1)
[[ $info == "48 48 6 0" ]] || fail "wide.png: $info, not a 48x48 RGBA picture with a transparent corner"

# Usage errors
expect_status 2 wide.svg 0 out.png
expect_status 2 wide.svg 1025 out.png
expect_status 2 wide.svg 16px out.png
expect_status 2 wide.svg 16 out.jpg
expect_status 2 wide.svg 16
# Files it can't use
expect_status 1 missing.svg 16 out.png
expect_status 1 broken.svg 16 out.png
expect_status 1 wide.svg 16 no-such-folder/out.png

((failures == 0)) && echo 'ludra-icon as expected'
exit $((failures > 0))

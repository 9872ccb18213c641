#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots from the real program in a virtual display.
# Usage: scripts/screenshots.sh [BUILD_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build-run}/ludra
out=$root/docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
# shellcheck source=SCRIPTDIR/virtual-display.sh
. "$root/scripts/virtual-display.sh"
start_virtual_display "$work"
export HOME=$work

# Starts the program, lets it settle, runs the given xdotool steps and saves the screen.
shot() {
    local name=$1
    shift
    XDG_CONFIG_HOME=$work/$name "$program" "${arguments[@]}" >/dev/null 2>&1 &
    local ludra=$!
    sleep 2
    for step in "$@"; do
        eval "xdotool $step"
        sleep 0.6
    done
    import -window root "$out/$name.png"
    kill $ludra 2>/dev/null || true
    wait $ludra 2>/dev/null || true
}

# The menu screen lies at (288, 93) in mode 0 on this 1366 x 768 display.
arguments=()
shot main-window "mousemove 900 700"
shot tests-submenu "mousemove 348 239 click 1" "mousemove 360 267"
shot help-submenu "mousemove 348 263 click 1" "mousemove 340 297"
shot vignette "mousemove 348 263 click 1" "mousemove 340 297 click 1" "mousemove 900 700"
shot settings "mousemove 360 288 click 1" "key Down Down Down Down" "key space"
shot whole-work-area "search --onlyvisible --name '^Orvel - Ludra 4.0$' windowfocus" "key ctrl+F4" "mousemove 1300 700"
arguments=(notatki.txt)
shot message-box-close "mousemove 900 700"
# A whole run through the folder dialog: questions, a check and the summary.
"$root/tests/e2e/run-set.sh" "$program" "$(dirname "$program")/ludra-skq" "$out" >/dev/null
# The set list with a category open and a set chosen.
"$root/tests/e2e/set-list.sh" "$program" "$out" >/dev/null
# The text and picture windows in each of their states.
"$root/tests/e2e/attachments.sh" "$program" "$(dirname "$program")/ludra-skq" "$out" >/dev/null
# A run by keys alone: the focus outline, the settings, the verdict, progress and the review.
"$root/tests/e2e/keyboard-run.sh" "$program" "$(dirname "$program")/ludra-skq" "$out" >/dev/null
# The main window at 1x and 2x, and the test screen at 2x.
"$root/tests/e2e/hidpi.sh" "$program" "$(dirname "$program")/ludra-skq" "$out" >/dev/null
echo "Screenshots in $out"

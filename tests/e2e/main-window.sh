#!/usr/bin/env bash
# The real program in a virtual display: its window is found and measured, the
# tests submenu is opened by a click at the entry's place, and the screen is
# checked to have changed where the submenu opens.
# Usage: main-window.sh PATH/TO/ludra OUTPUT_FOLDER
set -euo pipefail
program=${1:?program}
out=${2:?output folder}
mkdir -p "$out"
work=$(mktemp -d)
trap 'kill $ludra $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

. "$(dirname "$0")/../../scripts/virtual-display.sh"
start_virtual_display "$work"
export XDG_CONFIG_HOME=$work/config HOME=$work

"$program" >"$work/ludra.log" 2>&1 &
ludra=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Orvel - Ludra 4.0$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "FAIL: no main window"; cat "$work/ludra.log"; exit 1; }
sleep 1

eval "$(xdotool getwindowgeometry --shell "$window")"
echo "window $WIDTH x $HEIGHT at $X,$Y"
[ "$WIDTH" = 790 ] && [ "$HEIGHT" = 581 ] || { echo "FAIL: size $WIDTH x $HEIGHT"; exit 1; }
# Centred in the 1366 x 768 work area of a display without panels.
[ "$X" = 288 ] && [ "$Y" = 93 ] || { echo "FAIL: place $X,$Y"; exit 1; }

import -window root "$out/main-window.png"
# The tests entry lies at (17, 139) of the menu screen, 129 x 15.
xdotool mousemove $((X + 60)) $((Y + 146)) click 1
sleep 0.5
import -window root "$out/tests-submenu.png"

# The submenu opens at (8, 132), 240 x 133: its pixels must differ from before.
region=240x133+$((X + 8))+$((Y + 132))
changed=$(compare -metric AE -crop "$region" "$out/main-window.png" "$out/tests-submenu.png" null: 2>&1 || true)
echo "pixels changed where the submenu opens: $changed"
[ "${changed%%.*}" -gt 1000 ] || { echo "FAIL: the submenu did not open"; exit 1; }
kill -0 "$ludra" || { echo "FAIL: the program ended"; exit 1; }
echo "PASS"

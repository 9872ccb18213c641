#!/usr/bin/env bash
# The real program in a virtual display: its window is found and measured, the
# tests submenu is opened by a click at the entry's place, and the screen is
# checked to have changed where the submenu opens.
# Usage: main-window.sh PATH/TO/ludra OUTPUT_FOLDER
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"
e2e_script program out -- "$@"
start_program "$program"

echo "window $WIDTH x $HEIGHT at $X,$Y"
[[ $WIDTH = 790 && $HEIGHT = 581 ]] || fail "size $WIDTH x $HEIGHT"
# Centred in the 1366 x 768 work area of a display without panels.
[[ $X = 288 && $Y = 93 ]] || fail "place $X,$Y"

import -window root "$out/main-window.png"
# The tests entry lies at (17, 139) of the menu screen, 129 x 15; the submenu
# opens at (8, 132), 240 x 133.
click_main 60 146
wait_for_change "$out/main-window.png" 240x133+8+132 1000 || fail "the submenu did not open"
import -window root "$out/tests-submenu.png"
kill -0 "$ludra" || fail "the program ended"
echo "PASS"

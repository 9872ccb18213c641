#!/usr/bin/env bash
# The real program at a device pixel ratio of 2: its window takes twice the pixels, its art
# is drawn from pictures of twice the pixels (sharper than the 1x window enlarged, yet the
# same picture in the same place), a click at the tests entry's 2x place opens the submenu, and
# on the test screen a click at a letter tile's 2x place marks it.
# Usage: hidpi.sh PATH/TO/ludra PATH/TO/ludra-skq OUTPUT_FOLDER
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"
e2e_script program skq out -- "$@"
# A screen that holds the 1580 x 1162 window.
kill "$xvfb"
start_virtual_display "$work" 1920x1200

# Saves the main window's part of the screen once its art is drawn (a window mapped but not yet
# painted is one flat colour), waiting up to 10 s.
shoot_window() {
    for _ in $(seq 50); do
        shoot "$work/screen.png"
        convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$1"
        awk -v d="$(convert "$1" -format '%[fx:standard_deviation]' info:)" 'BEGIN { exit !(d > 0.05) }' && return 0
        sleep 0.2
    done
    fail "the window is not drawn"
}

stop_program() {
    kill "$ludra"
    wait "$ludra" 2>/dev/null || true
}

# The mean strength of the edges, 0 to 1: sharp art has more of it than enlarged art.
edges() { convert "$1" -colorspace Gray -morphology Convolve Laplacian:0 -evaluate Abs 0 -format '%[fx:mean]' info:; }

start_program "$program"
[[ $WIDTH = 790 && $HEIGHT = 581 ]] || fail "1x size $WIDTH x $HEIGHT"
shoot_window "$out/main-window@1x.png"
stop_program

QT_SCALE_FACTOR=2 start_program "$program"
echo "window $WIDTH x $HEIGHT at $X,$Y"
[[ $WIDTH = 1580 && $HEIGHT = 1162 ]] || fail "2x size $WIDTH x $HEIGHT"
shoot_window "$out/main-window@2x.png"

convert "$out/main-window@1x.png" -resize 200% "$work/enlarged.png"
convert "$out/main-window@2x.png" -resize 50% "$work/reduced.png"
# Pixels more than 10% apart from the enlarged 1x window.
apart=$(compare -metric AE -fuzz 10% "$out/main-window@2x.png" "$work/enlarged.png" null: 2>&1 || true)
# The 2x window brought back to 1x, against the 1x window: 0 (equal) to 1.
unlike=$(compare -metric RMSE "$work/reduced.png" "$out/main-window@1x.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/' || true)
sharp=$(edges "$out/main-window@2x.png")
enlarged=$(edges "$work/enlarged.png")
echo "2x against enlarged 1x: $apart pixels apart; edges $sharp against $enlarged; reduced 2x against 1x: $unlike"
[ "${apart%%.*}" -gt 20000 ] || fail "the 2x window looks like the 1x window enlarged"
awk -v s="$sharp" -v e="$enlarged" 'BEGIN { exit !(s > 1.3 * e) }' || fail "the 2x art is no sharper"
awk -v u="$unlike" 'BEGIN { exit !(u < 0.08) }' || fail "the 2x window shows other pictures or places"

# The tests entry lies at (17, 139) of the menu screen, 129 x 15, the submenu at (8, 132),
# 240 x 133: twice that in pixels.
click_main 120 292
wait_for_change "$out/main-window@2x.png" 480x266+16+264 20000 || fail "the submenu did not open at 2x"
shoot_window "$work/tests-submenu.png"

# The folder entry of the submenu at (127, 189), then a set of one question through the dialog.
pack_question "$skq" "$work/set" q1 0 100 "" "" "" "Ile to jest dwa razy dwa?" "cztery" "trzy" "pięć"
click_main 254 378
choose_folder_in_dialog "$work/set"
# The question's box at (288, 180), 441 x 61, fills with its text.
wait_for_change "$out/main-window@2x.png" 882x122+576+360 500 || fail "no test screen"
# The first tile at (295, 313), 35 x 35, takes the chosen look when clicked at its 2x place.
shoot "$work/question.png"
click_main 624 660
wait_for_change "$work/question.png" 70x70+590+626 500 || fail "the tile did not answer a click at 2x"
shoot_window "$out/test-screen@2x.png"
kill -0 "$ludra" || fail "the program ended"
echo "PASS"

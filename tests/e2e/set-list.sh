#!/usr/bin/env bash
# Choosing a set from the set list in the real program: the bundled list beside the
# program is opened from the tests submenu, a category is opened by a double click,
# a set is chosen and confirmed, and the set's first question comes on screen.
# Usage: set-list.sh PATH/TO/ludra SCREENSHOT_FOLDER
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"
e2e_script program out -- "$@"
[ -f "$(dirname "$program")/Zestawy/Lista.skz" ] || { echo "FAIL: no Zestawy/Lista.skz beside the program"; exit 1; }
start_program "$program"
[ "$X,$Y" = "288,93" ] || fail "main window at $X,$Y"

# Runs a step of lib.sh in the set list window's coordinates.
in_list() { local X=$LX Y=$LY; "$@"; }
click_list() { xdotool mousemove $((LX + $1)) $((LY + $2)) click "${@:3}"; }
# The middle of row r of the tree: the panel lies at (33, 95), rows 16 px apart from 5.
row_y() { echo $((95 + 5 + 16 * $1 + 8)); }
# Pixels of the selected rows' green in a row of the tree.
green_in_row() {
    convert "$1" -crop "200x16+$((LX + 33))+$((LY + 95 + 5 + 16 * $2))" +repage \
        -fx '(g - r > 0.2) && (g - b > 0.2)' -format '%[fx:round(mean * w * h)]' info:
}
# Waits up to 10 s until the green of row r compares to the value as asked (-gt, -eq):
# the window may be mapped before its tree is painted.
wait_for_green() {
    for _ in $(seq 50); do
        shoot "$work/green.png"
        test "$(green_in_row "$work/green.png" "$1")" "$2" "$3" && return 0
        sleep 0.2
    done
    return 1
}

open_set_list
echo "set list window $LIST_WIDTH x $LIST_HEIGHT at $LX,$LY"
[ "$LIST_WIDTH x $LIST_HEIGHT" = "310 x 487" ] || fail "set list window size"
[ "$LX,$LY" = "$((X + 280)),$((Y + 61))" ] || fail "set list window not beside the main window"

# The first row is a category and comes selected; a double click opens it.
wait_for_green 0 -gt 20 || fail "the first row is not selected"
shoot "$work/closed.png"
click_list 90 "$(row_y 0)" --repeat 2 --delay 100 1
in_list wait_for_change "$work/closed.png" 245x260+33+95 50 || fail "the category did not open"

# Its first child is a set: a click selects it and names it as the choice.
shoot "$work/open.png"
click_list 100 "$(row_y 1)" 1
in_list wait_for_change "$work/open.png" 249x13+29+451 20 || fail "the choice label did not change"
wait_for_green 1 -gt 20 || fail "the chosen set is not highlighted"
wait_for_green 0 -eq 0 || fail "the category kept its highlight"
shoot "$out/set-list.png"

# Wprowadź closes the list and the set's first question comes on screen.
click_list 225 396 1
wait_for_no_window '^Lista zestawów' || fail "the set list window stays"
wait_for_change "$work/start.png" 441x61+288+180 200 || fail "no question after confirming"
shoot "$work/question.png"
[ "$(dark_pixels "$work/question.png" 441x61+288+180)" -gt 100 ] || fail "no question text"
# The first question of the first bundled set shows a chart in the picture window.
wait_for_window '^Obraz' >/dev/null || fail "no picture window"
sleep 0.5
shoot "$out/bundled-question.png"
xdotool search --onlyvisible --name '^Komunikat' >/dev/null 2>&1 && fail "a message box is open"
kill -0 "$ludra" || fail "the program ended"
echo "PASS"

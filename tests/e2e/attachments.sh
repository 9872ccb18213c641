#!/usr/bin/env bash
# The text and picture windows of the real program in a virtual display: a set whose
# questions carry attached texts and JPEG, GIF and BMP pictures is opened through the
# folder dialog, and each window is driven by clicks and drags at its own places
# (fold, unfold, enlarge, shrink, font size, taller by the corner) and measured.
# Usage: attachments.sh PATH/TO/ludra PATH/TO/ludra-skq SCREENSHOT_FOLDER
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"
e2e_script program skq out -- "$@"
set_folder="$work/Zestaw z obrazami"

# question NAME TEXT_FILE PICTURE_FILE: a question whose every answer is right, with
# the files (already in $work/src/NAME) it names as its attached text and picture.
question() {
    pack_question "$skq" "$set_folder" "$1" 1 111 "$2" "$3" "" "Pytanie $1: zaznacz wszystkie odpowiedzi." \
        tak owszem zgoda
}
# A Windows-1250 text file of the given lines.
text_file() {
    local file=$1
    shift
    printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP1250 >"$file"
}
# A picture of the given size: a colour ramp with a dark frame, so its edges show.
picture_file() {
    convert -size "$2x$3" gradient:'#F4C542-#2A64A3' -bordercolor '#1E3A5F' -border 4 -resize "$2x$3!" "$1"
}

mkdir -p "$work/src/p1" "$work/src/p2" "$work/src/p3" "$work/src/p4"
long=()
for i in $(seq 1 30); do long+=("Wiersz $i: zażółć gęślą jaźń — źdźbło, łódź i żółw."); done
text_file "$work/src/p1/opis.txt" "${long[@]}"
picture_file "$work/src/p1/mapa.jpg" 400 300
text_file "$work/src/p2/krotki.txt" "Krótki tekst do pytania." "Mieści się w oknie bez przewijania."
picture_file "$work/src/p2/znak.gif" 200 100
picture_file "$work/src/p3/pasek.bmp" 300 50
question p1 opis.txt mapa.jpg
question p2 krotki.txt znak.gif
question p3 "" pasek.bmp
question p4 "" ""

start_program "$program"

# Window geometry as "WxH+x+y" (x, y relative to the main window).
geometry_of() {
    local WIDTH HEIGHT X0 Y0
    eval "$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^X=/X0=/p; s/^Y=/Y0=/p; /^WIDTH=/p; /^HEIGHT=/p')"
    echo "${WIDTH}x${HEIGHT}+$((X0 - X))+$((Y0 - Y))"
}
# Waits up to 10 s until the window has the given geometry.
expect_geometry() {
    local now
    for _ in $(seq 100); do
        now=$(geometry_of "$1")
        [ "$now" = "$2" ] && return 0
        sleep 0.1
    done
    fail "$3 is $now, not $2"
}
# Clicks at (x, y) of a window; drags from (x, y) of a window by (dx, dy).
click_in() {
    local g at
    g=$(geometry_of "$1")
    at=${g#*+}
    xdotool mousemove $((X + ${at%+*} + $2)) $((Y + ${at#*+} + $3)) click 1
}
drag_in() {
    local g at
    g=$(geometry_of "$1")
    at=${g#*+}
    local x=$((X + ${at%+*} + $2)) y=$((Y + ${at#*+} + $3))
    xdotool mousemove $x $y mousedown 1
    for step in 1 2 3 4; do xdotool mousemove $((x + $4 * step / 4)) $((y + $5 * step / 4)); done
    xdotool mouseup 1
}
# Pixels of a region (window coordinates) that are not white: text, a scroll bar.
ink_in() {
    local g w=${2%%x*} rest=${2#*x}
    g=$(geometry_of "$1")
    local at=${g#*+} h=${rest%%+*} offset=${rest#*+}
    shoot "$work/ink.png"
    convert "$work/ink.png" -crop "${w}x${h}+$((X + ${at%+*} + ${offset%%+*}))+$((Y + ${at#*+} + ${offset#*+}))" \
        -fill black +opaque white -fill white -opaque white -negate -format '%[fx:round(mean*w*h)]' info:
}
# Waits up to 10 s until the ink of a region compares to the value as asked (-gt, -lt).
wait_for_ink() {
    for _ in $(seq 50); do
        ink=$(ink_in "$1" "$2")
        test "$ink" "$3" "$4" && return 0
        sleep 0.2
    done
    return 1
}
# Every answer is right: all three tiles, the check button, then the next button.
answer_all() {
    for top in 313 353 393; do click_main 312 $((top + 17)); done
}
answer_and_go_on() {
    answer_all
    shoot "$work/before.png"
    click_main 129 432
    wait_for_change "$work/before.png" 51x56+104+404 20 || fail "the check button stays"
    click_main 129 432
}

open_folder_through_dialog "$set_folder"

# Question 1: a long text with a scroll bar, a 400 x 300 JPEG in the small window.
text=$(wait_for_window '^Tekst') || fail "no text window"
picture=$(wait_for_window '^Obraz') || fail "no picture window"
expect_geometry "$text" 465x250+250+55 "the text window"
expect_geometry "$picture" 365x200+250+25 "the picture window"
wait_for_ink "$text" 16x170+417+40 -gt 200 || fail "no scroll bar beside the long text"
shoot "$out/text-window-scroll-bar.png"

# The text window moved aside by its title strip uncovers the picture window.
drag_in "$text" 200 12 300 150
expect_geometry "$text" 465x250+550+205 "the dragged text window"
shoot "$out/picture-window-small.png"
click_in "$picture" 44 62
expect_geometry "$picture" 521x371+250+25 "the enlarged picture window"
shoot "$out/picture-window-enlarged.png"
click_in "$picture" 44 62
expect_geometry "$picture" 365x200+250+25 "the shrunk picture window"
click_in "$picture" 349 13
expect_geometry "$picture" 365x26+250+25 "the folded picture window"
shoot "$out/picture-window-collapsed.png"
click_in "$picture" 349 13
expect_geometry "$picture" 365x200+250+25 "the unfolded picture window"

# Font sizes, folding, and the corner that makes the text window taller.
before=$(ink_in "$text" 329x180+88+44)
click_in "$text" 43 112
click_in "$text" 43 112
click_in "$text" 43 112
wait_for_ink "$text" 329x180+88+44 -gt "$before" || fail "the larger font shows no more ink"
echo "ink of the text at size 9: $before, at size 11: $ink"
click_in "$text" 449 13
expect_geometry "$text" 465x26+550+205 "the folded text window"
shoot "$out/text-window-collapsed.png"
click_in "$text" 449 13
expect_geometry "$text" 465x250+550+205 "the unfolded text window"
drag_in "$text" 453 238 0 162
expect_geometry "$text" 465x400+550+205 "the text window made taller"

# Question 2: a short text without scroll bar, a 200 x 100 GIF without enlarge button.
shoot "$work/q1.png"
answer_and_go_on
expect_geometry "$text" 465x250+550+205 "the text window of question 2"
wait_for_ink "$text" 16x170+417+40 -lt 20 || fail "a scroll bar beside the short text"
drag_in "$text" 200 12 -300 -150
expect_geometry "$text" 465x250+250+55 "the text window back in place"
shoot "$out/text-window-expanded.png"

# Question 3: no text, so the text window folds; a 300 x 50 BMP enlarges to 421 x 200.
answer_and_go_on
expect_geometry "$text" 465x26+250+55 "the text window of a question without text"
click_in "$text" 449 13
expect_geometry "$text" 465x26+250+55 "the locked text bar"
expect_geometry "$picture" 365x200+250+25 "the picture window of question 3"
click_in "$picture" 44 62
expect_geometry "$picture" 421x200+250+25 "the enlarged wide picture"
shoot "$out/picture-window-wide.png"

# Question 4: no picture either; both windows are bars.
answer_and_go_on
expect_geometry "$picture" 365x26+250+25 "the picture window of a question without picture"
shoot "$out/attachment-bars.png"

# The summary, then Zamknij: leaving the set closes both windows.
answer_all
click_main 129 432
summary=$(wait_for_window '^Podsumowanie') || fail "no summary"
close_summary "$summary"
click_main 696 533
wait_for_no_window '^Tekst' || fail "the text window stays after leaving the set"
wait_for_no_window '^Obraz' || fail "the picture window stays after leaving the set"
kill -0 "$ludra" || fail "the program ended"
echo "PASS"

#!/usr/bin/env bash
# A set passed around a class with hostile contents: the first question's text
# is markup that would load /dev/zero as a picture, the second question has a
# 1 MB attached text without a single space. On both questions the program
# must keep its memory low and answer a key (Ctrl+F4 switches the window mode)
# within 2 s.
# Usage: hostile-set.sh PATH/TO/ludra PATH/TO/ludra-skq SCREENSHOT_FOLDER PEAK_MB
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"
e2e_script program skq out peak_mb -- "$@"
set_folder="$work/Zestaw obcy"

mkdir -p "$work/src/p2"
head -c 1048576 /dev/zero | tr '\0' 'x' >"$work/src/p2/dlugi.txt"
pack_question "$skq" "$set_folder" p1 1 111 "" "" "" '&lt;img src="/dev/zero"&gt;&lt;table&gt;' "a" "b" "c"
pack_question "$skq" "$set_folder" p2 1 111 dlugi.txt "" "" "Pytanie z długim tekstem" "a" "b" "c"

start_program "$program"

# Ctrl+F4 must change the main window's size within 5 s (a loaded machine runs other tests
# beside this one), and a second one bring it back.
expect_mode_switch() {
    local before after
    before=$(xdotool getwindowgeometry "$main_window" | tail -n 1)
    xdotool windowfocus --sync "$main_window" key --clearmodifiers ctrl+F4
    for _ in $(seq 50); do
        after=$(xdotool getwindowgeometry "$main_window" | tail -n 1)
        [ "$after" != "$before" ] && break
        sleep 0.1
    done
    [ "$after" != "$before" ] || fail "no answer to Ctrl+F4 within 5 s on $1"
    xdotool windowfocus --sync "$main_window" key --clearmodifiers ctrl+F4
    for _ in $(seq 100); do
        [ "$(xdotool getwindowgeometry "$main_window" | tail -n 1)" = "$before" ] && return 0
        sleep 0.1
    done
    fail "the window mode did not come back on $1"
}
expect_low_memory() {
    local peak_kb
    peak_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$ludra/status")
    echo "peak memory on $1: $((peak_kb / 1024)) MB"
    [ "$peak_kb" -lt $((peak_mb * 1024)) ] || fail "peak memory $((peak_kb / 1024)) MB on $1"
}

open_folder_through_dialog "$set_folder"
wait_for_change "$work/menu.png" 441x61+288+180 200 || fail "no question after the folder dialog"
shoot "$work/q1.png"
expect_mode_switch "the markup question"
expect_low_memory "the markup question"
shoot "$out/hostile-markup-question.png"

# Every answer is right: all three tiles, check, next.
for top in 313 353 393; do click_main 312 $((top + 17)); done
click_main 129 432
wait_for_change "$work/q1.png" 51x56+104+404 20 || fail "the check button stays"
click_main 129 432
wait_for_window '^Tekst' >/dev/null || fail "no text window"
expect_mode_switch "the long text"
expect_low_memory "the long text"
shoot "$out/hostile-long-text.png"
kill -0 "$ludra" || fail "the program ended"
echo "PASS"

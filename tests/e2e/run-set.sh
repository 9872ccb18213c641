#!/usr/bin/env bash
# A whole run of the real program in a virtual display: a generated set of three
# questions is opened through the folder dialog, answered by clicks at the test
# screen's places (one question wrong, so it comes again in the repeat pass), and
# the summary's text, the letter tiles' looks and the journal are checked.
# Usage: run-set.sh PATH/TO/ludra PATH/TO/ludra-skq SCREENSHOT_FOLDER
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"
e2e_script program skq out -- "$@"
set_folder="$work/Zestaw probny"

# question NAME TYPE KEY HINT TEXT ANSWER...: a plain question file in the set folder.
question() {
    pack_question "$skq" "$set_folder" "$1" "$2" "$3" "" "" "${@:4}"
}
# The answer order is drawn at random, so the questions are made to be answered
# without knowing it: the right answer of the first is its only long text, and
# every answer of the others is right.
question p1 0 100 "Pomnóż siedem przez osiem." "Ile wynosi iloczyn liczb 7 i 8?" \
    "pięćdziesiąt sześć, czyli 56" "54" "48"
question p2 1 11111 "" "Które z tych liczb są podzielne przez 3?" "3" "6" "9" "12" "15"
question p3 1 1111 "" "Które z tych miast leżą nad Wisłą?" "Kraków" "Warszawa" "Toruń" "Płock"

"$skq" config set rq yes >/dev/null
"$skq" config set dfpz 3 >/dev/null
start_program "$program"
[ "$X,$Y" = "288,93" ] || fail "main window at $X,$Y"

# Places on the test screen (window mode 0: the test panel fills the window), beside lib.sh's.
answer_region() { echo "353x25+357+$((320 + 40 * ($1 - 1)))"; }
question_region=441x61+288+180
check_region=51x56+104+404

# The look of the tile at a position, from the colour left of its letter.
tile_look() {
    local rgb
    rgb=$(convert "$1" -crop "1x1+$((X + 302))+$((Y + $(tile_top "$2") + 17))" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
    # shellcheck disable=SC2086 # the three numbers become $1 $2 $3
    set -- $rgb
    if [ "$1" -gt 200 ] && [ "$2" -gt 200 ] && [ "$3" -gt 200 ]; then echo plain
    elif [ "$1" -gt 200 ] && [ "$2" -gt 160 ] && [ "$3" -lt 140 ]; then echo yellow
    elif [ "$1" -gt 180 ] && [ "$2" -lt 150 ]; then echo red
    elif [ "$2" -gt "$1" ] && [ "$3" -gt "$1" ]; then echo green
    else echo "other($rgb)"; fi
}
# The tiles' looks in a screenshot, one word per tile from the first.
looks_in() {
    local shot=$1 count=$2 position
    for position in $(seq "$count"); do printf '%s ' "$(tile_look "$shot" "$position")"; done
}
# Waits up to 10 s until the tiles look as expected: the check button may be drawn
# anew before the tiles are, on a slow (sanitized) build. The last screenshot stays in the file.
expect_looks() {
    local shot=$1 wanted="${*:2} " seen
    shift
    for _ in $(seq 50); do
        shoot "$shot"
        seen=$(looks_in "$shot" $#)
        [ "$seen" = "$wanted" ] && return 0
        sleep 0.2
    done
    fail "the tiles look ${seen}not ${wanted}"
}

open_folder_through_dialog "$set_folder"

# Question 1: one right answer among three, the hint opened.
wait_for_change "$work/menu.png" "$question_region" || fail "no question after the dialog"
# The right answer is the row with the most ink, once every row shows its text: a slow
# (sanitized) build may draw the rows in more than one frame.
rows_drawn=
for _ in $(seq 50); do
    shoot "$work/q1.png"
    right=1 most=-1 least=
    for position in 1 2 3; do
        dark=$(dark_pixels "$work/q1.png" "$(answer_region $position)")
        [ "$dark" -gt "$most" ] && { most=$dark; right=$position; }
        [ -z "$least" ] || [ "$dark" -lt "$least" ] && least=$dark
    done
    [ "$least" -gt 20 ] && { rows_drawn=1; break; }
    sleep 0.2
done
[ -n "$rows_drawn" ] || fail "the answers' texts did not come"
expect_looks "$work/q1.png" plain plain plain
click_and_wait "35x35+295+$(tile_top "$right")" tile "$right"
click_and_wait 386x67+378+491 click_main 320 531
shoot "$out/test-single-answer.png"
click_and_wait $check_region check_button
looks=(plain plain plain)
looks[right - 1]=green
expect_looks "$work/q1-checked.png" "${looks[@]}"

# Question 2: five answers, all chosen.
click_and_wait $check_region check_button
for position in 1 2 3 4 5; do click_and_wait "35x35+295+$(tile_top "$position")" tile "$position"; done
shoot "$out/test-five-answers.png"
click_and_wait $check_region check_button
expect_looks "$work/q2-checked.png" green green green green green

# Question 3: four right answers, only one chosen: wrong, so it comes again.
click_and_wait $check_region check_button
click_and_wait "35x35+295+$(tile_top 1)" tile 1
click_and_wait $check_region check_button
expect_looks "$out/test-after-check.png" green yellow yellow yellow

# The repeat pass: question 3 again, now answered right; the summary follows.
click_and_wait $check_region check_button
for position in 1 2 3 4; do click_and_wait "35x35+295+$(tile_top "$position")" tile "$position"; done
check_button
summary=$(wait_for_window '^Podsumowanie') || fail "no summary"
xdotool windowfocus --sync "$summary" key ctrl+c
sleep 0.3
shoot "$out/summary.png"
report=$(xclip -o -selection clipboard)
echo "$report"
expected_start=$'  ZESTAWIENIE \n =============\nPytań w zestawie: 3\nPoprawnych odpowiedzi: 2\nSkuteczność: 67%\n\nUdzielonych odpowiedzi: 4\nCzas pracy: 0 min '
[ "${report#"$expected_start"}" != "$report" ] || fail "summary text"
time_and_grade=$'Czas pracy: 0 min [0-9]+ s\nReasumując: Jest tak sobie\\.$'
[[ "$report" =~ $time_and_grade ]] || fail "summary time or grade"

# Closing the summary leaves the inert test screen; Zamknij then returns to the menu
# without a question, the run being over.
close_summary "$summary"
click_and_wait 240x133+8+132 click_main 696 533
xdotool search --onlyvisible --name '.' | while read -r w; do [ "$w" = "$main_window" ] || fail "a window beside the main one: $(xdotool getwindowname "$w")"; done

journal="$XDG_CONFIG_HOME/Tarvix/Orvel/Ludra/Dziennik.txt"
cat "$journal"
grep -q 'Poprawnie wczytano plik Ludra.ini.' "$journal" || fail "the journal lacks the settings line"
! grep -q 'Odczyt' "$journal" || fail "the journal records a failed read"
kill -0 "$ludra" || fail "the program ended"
echo "PASS"

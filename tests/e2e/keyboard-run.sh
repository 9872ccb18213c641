#!/usr/bin/env bash
# A pupil's whole run without a mouse: the settings, the menu, the set list, the questions,
# the repeat pass, the summary and the review of mistakes, each reached and worked by keys alone. The
# pointer never moves; a window that opens gets the keyboard as a window manager
# would give it. Screenshots of the focus, the verdict line, progress and the review.
# Usage: keyboard-run.sh PATH/TO/ludra PATH/TO/ludra-skq SCREENSHOT_FOLDER
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"
e2e_script program skq out -- "$@"

# Every answer is right, so a question is answered right by choosing all its tiles and
# wrong by choosing one, whatever the drawn order.
mkdir "$work/zrodla"
printf '%s\n' "Które z tych liczb są parzyste?" "A) 2" "B) 4" "C) 6" "ANSWER: A, B, C" "" \
    "Które z tych miast leżą nad Wisłą?" "A. Kraków" "B. Warszawa" "C. Toruń" "ANSWER: A, B, C" \
    >"$work/zrodla/pytania.txt"
sets="$work/Zestawy"
"$skq" import "$work/zrodla/pytania.txt" "$sets/Liczby i miasta" >/dev/null || fail "import"
"$skq" list build "$sets" "$sets/Lista.skz" >/dev/null || fail "list build"
"$skq" config set sct "$sets/Lista.skz" >/dev/null

start_program "$program"
keys() { xdotool key --delay 80 "$@"; }
# Keys to the window with the given title, given the keyboard first.
keys_to() {
    local window
    window=$(wait_for_window "$1") || fail "no window $1"
    xdotool windowfocus --sync "$window"
    keys "${@:2}"
}
# Keys, then a wait until the region WxH+x+y of the main window changes.
keys_and_wait() {
    shoot "$work/before.png"
    keys "${@:2}"
    wait_for_change "$work/before.png" "$1" 20 || fail "no change in $1 after keys ${*:2}"
}

# The settings: Tab thrice brings the focus outline onto "Ustawienia", Enter opens it. Space
# turns on the repeat pass (the first row); the last row lets Enter and Escape close the summary.
xdotool windowfocus --sync "$main_window"
shoot "$work/start.png"
keys_and_wait 263x200+0+130 Tab Tab Tab
keys Return
keys_to '^Ustawienia$' space Up Up Up space
sleep 0.3
shoot "$out/keyboard-settings.png"
keys Return
wait_for_no_window '^Ustawienia$' || fail "Enter did not save the settings"
"$skq" config get rq | grep -q 1 || fail "the repeat pass was not stored"

# The menu: Tab brings the focus round onto "Testy", Enter opens its submenu with the focus
# on its first entry, "Chcę wybrać z listy zestaw pytań".
xdotool windowfocus --sync "$main_window"
keys Tab Return
sleep 0.3
shoot "$out/keyboard-menu-focus.png"
keys Return
wait_for_window '^Lista zestawów' >/dev/null || fail "Enter on the entry opened no set list"

# The set list: Down selects the only set, Enter chooses it.
keys_to '^Lista zestawów' Down
sleep 0.3
shoot "$out/keyboard-set-list.png"
keys Return
wait_for_no_window '^Lista zestawów' || fail "Enter did not choose the set"
wait_for_change "$work/start.png" 441x61+288+180 200 || fail "no question after choosing"

# First question: one tile of three, wrong; its verdict and the progress shown.
xdotool windowfocus --sync "$main_window"
keys_and_wait "35x35+295+$(tile_top 1)" 1
keys_and_wait 51x56+104+404 Return
sleep 0.3
shoot "$out/keyboard-verdict-progress.png"
keys_and_wait 51x56+104+404 Return
# Second question: every tile, right. The repeat pass brings the first question back.
keys 1 2 3
keys_and_wait 51x56+104+404 Return
keys_and_wait 150x20+540+150 Return
sleep 0.3
shoot "$out/keyboard-repeat-pass.png"
keys 1 2 3 Return
summary=$(wait_for_window '^Podsumowanie') || fail "no summary"
xdotool windowfocus --sync "$summary"
keys ctrl+c
sleep 0.3
report=$(xclip -o -selection clipboard)
[[ "$report" == *$'Pytań w zestawie: 2\nPoprawnych odpowiedzi: 1\nSkuteczność: 50%\n\nUdzielonych odpowiedzi: 3'* ]] ||
    fail "summary: $report"

# The review of mistakes: P opens it, it names the wrong question, Enter closes it.
keys p
review=$(wait_for_window '^Przegląd błędów') || fail "P opened no review"
xdotool windowfocus --sync "$review"
sleep 0.3
shoot "$out/keyboard-review.png"
keys ctrl+c
sleep 0.3
review_text=$(xclip -o -selection clipboard)
[[ "$review_text" == *"Które z tych liczb są parzyste?"* ]] || fail "review: $review_text"
[[ "$review_text" != *"Wisłą"* ]] || fail "the right question is in the review"
keys Return
wait_for_no_window '^Przegląd błędów' || fail "Enter did not close the review"

# With the setting on, Escape closes the summary as its close spot does.
keys_to '^Podsumowanie' Escape
wait_for_no_window '^Podsumowanie' || fail "Escape did not close the summary"
echo "PASS"

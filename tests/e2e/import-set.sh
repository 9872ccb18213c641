#!/usr/bin/env bash
# A teacher's whole way in the real program: questions written in the Aiken format are
# imported, checked, listed with list build, chosen from the set list and answered up
# to the summary.
# Usage: import-set.sh PATH/TO/ludra PATH/TO/ludra-skq SCREENSHOT_FOLDER
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"
e2e_script program skq out -- "$@"

# Every answer is right, so the questions are answered without knowing the drawn order.
mkdir "$work/zrodla"
printf '%s\r\n' "Które z tych liczb są parzyste?" "A) 2" "B) 4" "C) 6" "ANSWER: A, B, C" "" \
    "Które z tych miast leżą nad Wisłą?" "A. Kraków" "B. Warszawa" "C. Toruń" "D. Płock" "ANSWER: A, B, C, D" \
    >"$work/zrodla/pytania.txt"
sets="$work/Zestawy"
"$skq" import "$work/zrodla/pytania.txt" "$sets/Liczby i miasta" || fail "import"
"$skq" check --strict "$sets/Liczby i miasta" || fail "check of the set"
"$skq" list build "$sets" "$sets/Lista.skz" || fail "list build"
"$skq" check --strict "$sets/Lista.skz" || fail "check of the list"
"$skq" config set sct "$sets/Lista.skz" >/dev/null

start_program "$program"
answer_all() {
    for position in $(seq "$1"); do click_and_wait "35x35+295+$(tile_top "$position")" tile "$position"; done
}

# The set list's only entry is the imported set, chosen and confirmed.
choose_first_listed_set "$out/import-set-list.png"

answer_all 3
shoot "$out/import-question.png"
click_and_wait 51x56+104+404 check_button
click_and_wait 51x56+104+404 check_button
answer_all 4
check_button
summary=$(wait_for_window '^Podsumowanie') || fail "no summary"
xdotool windowfocus --sync "$summary" key ctrl+c
sleep 0.3
shoot "$out/import-summary.png"
report=$(xclip -o -selection clipboard)
echo "$report"
[[ "$report" == *$'Pytań w zestawie: 2\nPoprawnych odpowiedzi: 2\nSkuteczność: 100%'* ]] || fail "summary text"
echo "PASS"

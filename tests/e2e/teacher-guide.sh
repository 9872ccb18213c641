#!/usr/bin/env bash
# The teachers' guide (samples/README.md) followed as written: a CSV with a PNG picture
# beside it imported from its own folder, the teacher's own set list built, checked and
# given to the program with config, then the set chosen from that list shows the
# question with its picture.
# Usage: teacher-guide.sh PATH/TO/ludra PATH/TO/ludra-skq SCREENSHOT_FOLDER
set -euo pipefail
program=${1:?program}
skq=${2:?ludra-skq}
out=${3:?screenshot folder}
mkdir -p "$out"
. "$(dirname "$0")/lib.sh"
start_e2e

# expect TEXT COMMAND...: runs the command, which must succeed and print TEXT.
expect() {
    local text=$1 said
    shift
    said=$("$@" 2>&1) || fail "$* ended with an error: $said"
    echo "$said"
    [[ "$said" == *"$text"* ]] || fail "$* did not say: $text"
}

# A picture of one plain colour in a dark frame, so it can be found on the screen.
mkdir "$HOME/Moje pytania"
convert -size 160x100 xc:'#E07010' -bordercolor '#1E3A5F' -border 4 "$HOME/Moje pytania/mapa.png"
printf '%s\r\n' "pytanie;A;B;C;D;E;poprawne;podpowiedź;obrazek;kategoria" \
    "Która rzeka płynie przez Kraków?;Wisła;Odra;Warta;;;A;Spójrz na mapę.;mapa.png;" \
    >"$HOME/Moje pytania/pytania.csv"

# Steps 2 to 5 of the guide, in the source's folder, the picture named without a folder.
cd ~/"Moje pytania"
expect "1 question imported into 1 set in $HOME/Zestawy/Rzeki Polski, 0 skipped" \
    "$skq" import pytania.csv ~/"Zestawy/Rzeki Polski"
expect "1 set in 0 categories" "$skq" list build ~/Zestawy ~/Zestawy/Lista.skz
# A second build needs --force and keeps the old list beside it.
"$skq" list build ~/Zestawy ~/Zestawy/Lista.skz >/dev/null 2>&1 && fail "list build replaced a list without --force"
expect "1 set in 0 categories" "$skq" list build ~/Zestawy ~/Zestawy/Lista.skz --force
[ -f ~/Zestawy/Lista.skz~ ] || fail "no Lista.skz~ after list build --force"
report=$("$skq" check ~/Zestawy/Lista.skz 2>&1) || fail "check: $report"
echo "$report"
[[ "$report" == *"2 checked: 2 ok, 0 damaged, 0 missing" ]] || fail "check summary"
"$skq" config set sct ~/Zestawy/Lista.skz 2>/dev/null || fail "config set sct"
[ "$("$skq" config get sct)" = "$HOME/Zestawy/Lista.skz" ] || fail "config get sct"
cd "$work"

start_program "$program"
choose_first_listed_set "$out/teacher-guide-list.png"

# The picture window opens at full size, not as a bar, and shows the picture's colour.
picture=$(wait_for_window '^Obraz') || fail "no picture window"
for _ in $(seq 100); do
    eval "$(xdotool getwindowgeometry --shell "$picture" | sed 's/^/PICTURE_/')"
    [ "$PICTURE_HEIGHT" -gt 100 ] && break
    sleep 0.1
done
[ "$PICTURE_HEIGHT" -gt 100 ] || fail "the picture window is a bar (height $PICTURE_HEIGHT)"
orange=0
for _ in $(seq 50); do
    shoot "$out/teacher-guide-question.png"
    orange=$(convert "$out/teacher-guide-question.png" \
        -crop "${PICTURE_WIDTH}x${PICTURE_HEIGHT}+${PICTURE_X}+${PICTURE_Y}" -fuzz 8% -fill black \
        +opaque '#E07010' -fill white -opaque '#E07010' -format '%[fx:round(mean*w*h)]' info:)
    [ "$orange" -gt 2000 ] && break
    sleep 0.2
done
echo "pixels of the picture's colour in its window: $orange"
[ "$orange" -gt 2000 ] || fail "the picture is not shown"
echo "PASS"

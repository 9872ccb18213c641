#!/usr/bin/env bash
# The teachers' guide (samples/README.md) followed as written, by a teacher in a Polish
# session with the tool on the PATH: a CSV with a PNG picture beside it imported from
# its own folder, the teacher's own set list built, checked and given to the program.
# Every command of the guide runs in its order and its whole output is checked, as are
# the outputs the guide quotes. Then the set chosen from that list shows the question
# with its picture.
# Usage: teacher-guide.sh PATH/TO/ludra PATH/TO/ludra-skq SCREENSHOT_FOLDER
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"
# shellcheck source=SCRIPTDIR/../support/polish-locale.sh
. "$(dirname "$0")/../support/polish-locale.sh"
e2e_script program skq out -- "$@"
guide=$(dirname "$0")/../../samples/README.md

# ludra-skq as the package puts it on the PATH, run in a Polish locale.
make_polish_locale "$work/locales"
mkdir "$work/bin"
printf '#!/bin/sh\nLC_ALL=pl_PL.UTF-8 LOCPATH="%s" exec "%s" "$@"\n' "$work/locales" "$skq" >"$work/bin/ludra-skq"
chmod +x "$work/bin/ludra-skq"
PATH=$work/bin:$PATH

# said COMMAND: runs a line of the guide in this shell (a cd stays), which must succeed;
# $said is all it printed.
said() {
    eval "$1" >"$work/said" 2>&1 || fail "$1 ended with an error: $(cat "$work/said")"
    said=$(cat "$work/said")
    echo "$ $1"$'\n'"$said"
}

# Step 1: a picture of one plain colour in a dark frame, so it can be found on the
# screen, and two questions in the guide's CSV columns.
mkdir "$HOME/Moje pytania"
convert -size 160x100 xc:'#E07010' -bordercolor '#1E3A5F' -border 4 "$HOME/Moje pytania/mapa.png"
printf '%s\r\n' "pytanie;A;B;C;D;E;poprawne;podpowiedź;obrazek;kategoria" \
    "Która rzeka płynie przez Kraków?;Wisła;Odra;Warta;;;A;Spójrz na mapę.;mapa.png;" \
    "Ile to 1/2 + 1/4?;3/4;2/6;1/6;;;A;Sprowadź do wspólnego mianownika.;;" \
    >"$HOME/Moje pytania/pytania.csv"

# Steps 2 to 5: the lines of the guide's sh blocks, each with the whole of its output.
mapfile -t commands < <(awk '/^```sh$/ { shell = 1; next } /^```/ { shell = 0 } shell' "$guide")
sets=$HOME/Zestawy
expected=(
    ""
    "pytania.csv (csv): zaimportowano 2 pytania do $sets/Rzeki Polski (1 zestaw), pominięto: 0"
    "$sets/Lista.skz: 1 zestaw w 0 kategoriach"
    "$sets/Lista.skz: w porządku
$sets/Rzeki Polski/pytanie01.skq: w porządku
$sets/Rzeki Polski/pytanie02.skq: w porządku
sprawdzone: 3; w porządku: 3, uszkodzone: 0, brakujące: 0"
    "ludra-skq config: utworzono $XDG_CONFIG_HOME/Tarvix/Orvel/Ludra/Ludra.ini z ustawieniami domyślnymi"
)
[ ${#commands[@]} -eq ${#expected[@]} ] || fail "the guide has ${#commands[@]} commands, not ${#expected[@]}"
for i in "${!commands[@]}"; do
    said "${commands[$i]}"
    [ "$said" = "${expected[$i]}" ] || fail "${commands[$i]} said, instead of:"$'\n'"${expected[$i]}"
    # The import's last line, as the guide quotes it with "…" for the folder.
    if [[ ${commands[$i]} == "ludra-skq import "* ]]; then
        # shellcheck disable=SC2016 # the backquotes are the guide's own
        quoted=$(grep -o '`pytania.csv (csv): [^`]*`' "$guide" | tr -d '`')
        # shellcheck disable=SC2053 # "…" stands for any folder
        [[ $said == ${quoted//…/*} ]] || fail "the guide quotes the import as: $quoted"
    fi
done
[ "$(ludra-skq config get sct)" = "$sets/Lista.skz" ] || fail "config get sct"

# What the guide says of a second import, a second list and a skipped question.
said 'ludra-skq import pytania.csv ~/"Zestawy/Rzeki Polski" --force'
said 'ludra-skq list build ~/Zestawy ~/Zestawy/Lista.skz --force'
[ -f ~/Zestawy/Lista.skz~ ] || fail "no Lista.skz~ after list build --force"
printf '%s\n\n%s\n' 'Stolica Polski to Kraków. {F}' 'Stolica Polski to: {=Warszawa ~Kraków ~Gdańsk}' >prawda.txt
said 'ludra-skq import prawda.txt ~/Zestawy/Stolice'
# The guide quotes it in a plain block; a "```sh" block holds commands.
quoted=$(awk '/^```/ { plain = !open && $0 == "```"; open = !open; next } open && plain && /pominięto/' "$guide")
[ "$(head -1 <<<"$said")" = "$quoted" ] || fail "the guide quotes a skipped question as: $quoted"
[[ $said == *"zaimportowano 1 pytanie"* ]] || fail "the rewritten question was not imported"
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

#!/usr/bin/env bash
# The real ludra-skq speaks Polish in a Polish locale and English in C.UTF-8: its help,
# a usage error, and a count in each of the three Polish plural forms.
# Usage: language.sh PATH/TO/ludra-skq
set -euo pipefail
skq=${1:?ludra-skq}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# shellcheck source=SCRIPTDIR/../../support/polish-locale.sh
. "$(dirname "$0")/../../support/polish-locale.sh"
make_polish_locale "$work/locales"

# in_locale LOCALE COMMAND...: the tool's output and error output, then its exit status.
in_locale() {
    local locale=$1 status=0
    shift
    local environment=(-u LANGUAGE LC_ALL="$locale")
    [[ $locale == pl_* ]] && environment+=(LOCPATH="$work/locales")
    env "${environment[@]}" "$skq" "$@" 2>&1 || status=$?
    echo "exit status $status"
}

# expect LOCALE TEXT COMMAND...: the output holds TEXT.
expect() {
    local locale=$1 text=$2 output
    shift 2
    output=$(in_locale "$locale" "$@")
    [[ $output == *"$text"* ]] || fail "ludra-skq $* in $locale: no \"$text\" in:"$'\n'"$output"
}

expect pl_PL.UTF-8 "Użycie: ludra-skq POLECENIE [ARGUMENTY]" --help
expect pl_PL.UTF-8 "wyświetla pomoc do polecenia" --help
expect pl_PL.UTF-8 "ludra-skq: nieznane polecenie nic"$'\n''Listę poleceń wyświetla' nic
expect pl_PL.UTF-8 "exit status 2" nic
expect C.UTF-8 "Usage: ludra-skq COMMAND [ARGUMENTS]" --help
expect C.UTF-8 "ludra-skq: unknown command nic"$'\n''Run "ludra-skq --help" for the commands.' nic

# 1 pozycja, 2 pozycje, 5 pozycji; English has two forms.
for count in 1 2 5; do
    mkdir -p "$work/$count"
    for ((i = 1; i <= count; ++i)); do echo "$i" >"$work/$count/plik$i.txt"; done
done
expect pl_PL.UTF-8 "$work/1.skq: 1 pozycja" pack "$work/1" "$work/1.skq" --force
expect pl_PL.UTF-8 "$work/2.skq: 2 pozycje" pack "$work/2" "$work/2.skq" --force
expect pl_PL.UTF-8 "$work/5.skq: 5 pozycji" pack "$work/5" "$work/5.skq" --force
expect C.UTF-8 "$work/1.skq: 1 entry" pack "$work/1" "$work/1.skq" --force
expect C.UTF-8 "$work/5.skq: 5 entries" pack "$work/5" "$work/5.skq" --force

[ $failures -eq 0 ] || exit 1
echo "Polish and English as the locale asks"

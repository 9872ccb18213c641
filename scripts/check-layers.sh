#!/usr/bin/env bash
# Fails when a file includes a header of a layer above its own, when the core includes Qt, or when
# it declares a shared variable.
# Each folder lists the folders whose headers it may include.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
    [core/base]="core/base"
    [core/storage]="core/base core/storage"
    [core/session]="core/base core/storage core/session"
    [core/selection]="core/base core/storage core/session core/selection"
    [core/presentation]="core/base core/presentation"
    [gui/resources]="core gui/resources"
    [gui/widgets]="core gui/resources gui/widgets"
    [gui/sound]="gui/resources gui/sound"
    [gui/windows]="core gui"
    [app]="core gui"
    [tools/skq]="core tools/skq"
    [tools/skq/formats]="core tools/skq/formats tools/skq/i18n"
    [tools/skq/i18n]="tools/skq/i18n"
    [tools/art]="tools/art"
    [tools/font]="core"
    [tools/sound]=""
)

status=0
# A new folder gets its place in the table before it gets code.
while read -r folder; do
    if [[ ! -v allowed[$folder] ]]; then
        echo "$folder: not in the table of layers" >&2
        status=1
    fi
done < <(find core gui app tools \( -name '*.h' -o -name '*.cpp' \) -exec dirname {} + | sort -u)

for folder in "${!allowed[@]}"; do
    while IFS=: read -r file line header; do
        ok=
        for prefix in ${allowed[$folder]}; do
            [[ $header == "$prefix"/* ]] && ok=1
        done
        if [[ -z $ok ]]; then
            echo "$file:$line: $folder may not include \"$header\"" >&2
            status=1
        fi
    done < <(grep -Hno '^[[:space:]]*#[[:space:]]*include "[^"]*"' "$folder"/*.h "$folder"/*.cpp 2>/dev/null |
             sed 's/[[:space:]]*#[[:space:]]*include "\(.*\)"/\1/')
done

# The core keeps no shared state: what changes lives in objects their owners hand down.
if grep -rHnE '^[[:space:]]*extern[[:space:]]+' core --include='*.h' | grep -vE 'extern[[:space:]]+("C"|const[[:space:]])'; then
    echo "the core declares a variable every unit shares" >&2
    status=1
fi

# The core builds without Qt; a Qt header there would tie the command-line tool to it.
if grep -rHn '^[[:space:]]*#[[:space:]]*include <Q' core; then
    echo "the core includes Qt" >&2
    status=1
fi
exit $status

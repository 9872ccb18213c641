#!/usr/bin/env bash
# The translations of ludra-skq's messages. Extracts every message its sources mark
# (Tr, TrPlural, TrLater of tools/skq/i18n/Translation.h) into po/ludra-skq.pot and
# merges that into each po/<language>.po; new messages come in untranslated and
# changed ones fuzzy, for a translator to finish.
# With --check it changes nothing and fails when a translation lacks a message of the
# sources, holds a fuzzy one, or has other placeholders ({1}, {2}, ...) than its message.
# Usage: scripts/update-translations.sh [--check]
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."
template=po/ludra-skq.pot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# extract POT: the messages of the tool's sources, in a fixed order of files.
extract() {
    find tools/skq \( -name '*.cpp' -o -name '*.h' \) -print0 | LC_ALL=C sort -z |
        xargs -0 xgettext --language=C++ --from-code=UTF-8 --keyword= --keyword=Tr --keyword=TrLater \
            --keyword=TrPlural:1,2 --add-comments=TRANSLATORS: --add-location=file --no-wrap \
            --package-name=ludra-skq --output="$1"
}

# Prints each translation whose placeholders differ from its message's, with the message.
mismatched_placeholders() {
    awk '
        function text(line) { sub(/^[^"]*"/, "", line); sub(/"$/, "", line); return line }
        function marks(s,   k, found) {
            found = ""
            for (k = 0; k < 100; k++)
                if (index(s, "{" k "}")) found = found " {" k "}"
            return found
        }
        function check(   i, wanted) {
            wanted = marks(plural != "" ? plural : id)
            for (i = 0; i < forms; i++)
                if (form[i] != "" && marks(form[i]) != wanted)
                    printf "\"%s\"\n  has%s, its translation \"%s\" has%s\n", id, wanted, form[i], marks(form[i])
            id = plural = ""; forms = 0; field = ""
        }
        /^#/ { next }
        /^msgid / { check(); field = "id"; id = text($0); next }
        /^msgid_plural / { field = "plural"; plural = text($0); next }
        /^msgstr/ { field = "form"; form[forms++] = text($0); next }
        /^"/ {
            if (field == "id") id = id text($0)
            else if (field == "plural") plural = plural text($0)
            else if (field == "form") form[forms - 1] = form[forms - 1] text($0)
        }
        END { check() }' "$1"
}

# Entries of a PO file that msgattrib picks by its options, without the header.
picked() { msgattrib --no-obsolete --no-wrap "$@" | sed '1,/^$/d'; }

check() {
    local status=0 po merged problems
    extract "$work/messages.pot"
    for po in po/*.po; do
        merged=$work/$(basename "$po")
        msgmerge --quiet --no-fuzzy-matching "$po" "$work/messages.pot" --output-file="$merged"
        problems=$(picked --untranslated "$merged")
        if [ -n "$problems" ]; then
            printf '%s lacks translations:\n%s\n\n' "$po" "$problems"
            status=1
        fi
        problems=$(picked --only-fuzzy "$merged")
        if [ -n "$problems" ]; then
            printf '%s has fuzzy translations:\n%s\n\n' "$po" "$problems"
            status=1
        fi
        problems=$(mismatched_placeholders "$merged")
        if [ -n "$problems" ]; then
            printf '%s has other placeholders than the messages:\n%s\n\n' "$po" "$problems"
            status=1
        fi
    done
    [ $status -eq 0 ] || echo "Run scripts/update-translations.sh, then translate what it marks."
    return $status
}

update() {
    local po
    extract "$work/messages.pot"
    # Only the creation date changed: keep the file as it is.
    if ! diff -q -I '^"POT-Creation-Date:' "$work/messages.pot" "$template" >/dev/null 2>&1; then
        cp "$work/messages.pot" "$template"
    fi
    for po in po/*.po; do
        msgmerge --quiet --update --backup=none --previous --add-location=file --no-wrap "$po" "$template"
    done
}

case "${1:-}" in
    --check) check ;;
    "") update ;;
    *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

#!/usr/bin/env bash
# The built bundled sets hold what samples/SETS.md promises: every kind of
# question, attachment, picture and stored form; every question can be answered
# right; each set has 10 to 20 questions; the list nests a category in a category
# and its descendant counts are right. Everything is read with ludra-skq, that is
# with the program's own loaders.
# Usage: bundled-sets.sh PATH/TO/ludra-skq PATH/TO/Zestawy
set -euo pipefail
skq=${1:?ludra-skq}
sets=${2:?Zestawy folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
declare -A found
note() { found[$1]=$((${found[$1]:-0} + 1)); }

# show prints the question's fields four blanks in, the picture's six.
field() { sed -n "s/^    \"$1\": \(.*\)$/\1/p" "$2" | sed 's/,$//'; }
picture_bits() { sed -n 's/^      "bits": \([0-9]*\).*/\1/p' "$1"; }
# The "true" among the first COUNT correct flags.
correct_answers() {
    awk -v count="$2" '/^    "correct": \[/ { inside = 1; next }
        inside && /^    \]/ { inside = 0 }
        inside && ++seen <= count && /true/ { n++ }
        END { print n + 0 }' "$1"
}
# Bytes of the attached text's lines as show prints them.
attached_text_bytes() {
    awk '/^    "attached_text": \[/ { inside = 1; next } inside && /^    \]/ { inside = 0 } inside { n += length($0) }
        END { print n + 0 }' "$1"
}

# How the question document is stored: the 3.5 layout, or 4.0 plain, encoded, UTF-16.
note_stored_form() {
    rm -rf "$work/entries"
    "$skq" unpack "$1" "$work/entries" >/dev/null
    if [ -e "$work/entries/Sezz0.txp" ]; then
        note "the 3.5 layout"
        return
    fi
    local document=$work/entries/Sezz0.xml
    if [ "$(od -An -tx1 -N2 "$document" | tr -d ' ')" = fffe ]; then
        note "a UTF-16 document"
        document=$work/utf8.xml
        iconv -f UTF-16 -t UTF-8 "$work/entries/Sezz0.xml" >"$document"
    fi
    if grep -Eq '<cd>[[:space:]]*tr[[:space:]]*</cd>' "$document"; then
        note "encoded fields"
    else
        note "plain fields"
    fi
}

check_question() {
    local file=$1 json=$work/show.json
    if ! "$skq" show "$file" >"$json"; then
        fail "$file does not load"
        return
    fi
    local type count correct picture
    type=$(field type "$json")
    count=$(field count "$json")
    correct=$(correct_answers "$json" "$count")
    note "$count answers"
    [ "$correct" -gt 0 ] || fail "$file: no correct answer, it can never be answered right"
    if [ "$correct" -gt 1 ]; then
        note "several correct answers"
        [ "$type" != 0 ] || fail "$file: several correct answers but type 0 lets the learner choose only one"
    fi
    [ "$(field hint "$json")" = '""' ] || note "a hint"

    if [ "$(field text_name "$json")" != '""' ]; then
        if [ "$(field attached_text "$json")" = null ]; then
            fail "$file: its attached text is not in the archive"
        else
            note "an attached text"
            # The text window shows about 12 lines of 55 characters before it needs its scroll bar.
            [ "$(attached_text_bytes "$json")" -lt 1000 ] || note "an attached text that needs the scroll bar"
        fi
    fi
    picture=$(field picture_name "$json" | tr -d '"' | tr '[:upper:]' '[:lower:]')
    if [ -n "$picture" ]; then
        if [ "$(field picture "$json")" = null ]; then
            fail "$file: its picture is not in the archive"
        else
            note "a ${picture##*.} picture of $(picture_bits "$json") bits"
        fi
    fi
    note_stored_form "$file"
}

check_list() {
    "$skq" list "$sets/Lista.skz" >"$work/list.json" || fail "Lista.skz does not load"
    sed -n '/^  "lines": \[/,/^  \]/ s/^    "\(.*\)",\{0,1\}$/\1/p' "$work/list.json" >"$work/lines"
    # Fields: id, level, descendant count, parent id, visible, state, name, folder.
    awk -F'*' '{ level[NR] = $2; count[NR] = $3; name[NR] = $7; folder[NR] = $8 }
        $2 == 0 && $8 == "" { categories++ }
        $2 == 2 && $8 != "" { nested++ }
        END {
            for (i = 1; i <= NR; i++) {
                n = 0
                for (j = i + 1; j <= NR && level[j] > level[i]; j++) n++
                if (n != count[i]) print "FAIL: list entry " name[i] " says " count[i] " descendants, has " n
            }
            if (categories < 2) print "FAIL: fewer than two top-level categories"
            if (!nested) print "FAIL: no set inside a category inside a category"
        }' "$work/lines" >"$work/list-problems"
    while read -r problem; do fail "${problem#FAIL: }"; done <"$work/list-problems"
}

while IFS= read -r folder; do
    questions=$(find "$folder" -maxdepth 1 -name '*.skq' | wc -l)
    ((questions >= 10 && questions <= 20)) || fail "$folder: $questions questions, not 10 to 20"
    for file in "$folder"/*.skq; do
        check_question "$file"
    done
done < <(find "$sets" -name '*.skq' -printf '%h\n' | sort -u)
check_list

for feature in "3 answers" "4 answers" "5 answers" "several correct answers" "a hint" "an attached text" \
    "an attached text that needs the scroll bar" "a jpg picture of 24 bits" "a gif picture of 8 bits" \
    "a bmp picture of 24 bits" "a bmp picture of 8 bits" "plain fields" "encoded fields" "a UTF-16 document" \
    "the 3.5 layout"; do
    echo "questions with $feature: ${found[$feature]:-0}"
    [ "${found[$feature]:-0}" -gt 0 ] || fail "no question with $feature"
done
[ "$failures" -eq 0 ] || exit 1
echo PASS

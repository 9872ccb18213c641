#!/usr/bin/env bash
# Completes command lines with the bash completion of ludra-skq and compares the offers.
# Usage: completion-test.sh COMPLETION_FILE
set -u
completion=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir Sets
touch -- q1.skq q2.skq 'with space.skq' -dash.skq Lista.skz notes.txt Ludra.ini
# shellcheck source=/dev/null
source "$completion"
export LC_ALL=C

failures=0

# expect LINE EXPECTED: EXPECTED is the sorted offers joined with "|". A LINE ending in a
# space completes a new, empty word.
expect() {
    local line=$1 expected=$2 actual
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _ludra_skq
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort -u | paste -sd'|')
    if [[ $actual != "$expected" ]]; then
        echo "FAIL: '$line'"
        echo "  expected: $expected"
        echo "  actual:   $actual"
        failures=$((failures + 1))
    fi
}

all_commands='--help|--version|check|config|export|help|import|list|ls|pack|pack-set|scramble|show|unpack|unscramble'
questions='-dash.skq|Sets|q1.skq|q2.skq|with space.skq'
archives='-dash.skq|Lista.skz|Sets|q1.skq|q2.skq|with space.skq'
every_file='-dash.skq|Lista.skz|Ludra.ini|Sets|notes.txt|q1.skq|q2.skq|with space.skq'

# Commands and help
expect 'ludra-skq ' "$all_commands"
expect 'ludra-skq pa' 'pack|pack-set'
expect 'ludra-skq help ' 'check|config|export|help|import|list|ls|pack|pack-set|scramble|show|unpack|unscramble'
expect 'ludra-skq help un' 'unpack|unscramble'
expect 'ludra-skq help pack ' ''
expect 'ludra-skq scramble ' ''

# Options of each command, and the values an option takes
expect 'ludra-skq pack --' '--encoded|--force|--help|--legacy|--utf16'
expect 'ludra-skq pack-set src --f' '--force'
expect 'ludra-skq import --' '--force|--format|--help|--list'
expect 'ludra-skq check --' '--help|--strict'
expect 'ludra-skq scramble --' '--help'
expect 'ludra-skq import --format ' 'aiken|csv|gift|moodle'
expect 'ludra-skq export Sets out.xml --format ' 'gift|moodle'
expect 'ludra-skq show --seed ' ''
expect 'ludra-skq config show --file ' 'Ludra.ini|Sets'

# File arguments by position; options and their values don't count as arguments
expect 'ludra-skq show ' "$questions"
expect 'ludra-skq show q' 'q1.skq|q2.skq'
expect 'ludra-skq show --seed 7 ' "$questions"
expect 'ludra-skq show q1.skq ' ''
expect 'ludra-skq ls ' "$archives"
expect 'ludra-skq check q1.skq Lista.skz ' "$archives"
expect 'ludra-skq check -- -' '-dash.skq'
expect 'ludra-skq pack ' 'Sets'
expect 'ludra-skq pack --encoded Sets ' "$questions"
expect 'ludra-skq pack-set Sets ' 'Sets'
expect 'ludra-skq import ' "$every_file"
expect 'ludra-skq import --format gift notes.txt ' 'Sets'
expect 'ludra-skq export ' 'Sets'
expect 'ludra-skq export Sets ' "$every_file"
expect 'ludra-skq unpack q1.skq ' 'Sets'
expect 'ludra-skq unpack q1.skq Sets ' ''

# The set list: a file to read, or build with a folder and the list to write
expect 'ludra-skq list ' 'Lista.skz|Sets|build'
expect 'ludra-skq list build ' 'Sets'
expect 'ludra-skq list build Sets ' 'Lista.skz|Sets'
expect 'ludra-skq list Lista.skz ' ''

# Settings: the action, the key, then the values that key takes
expect 'ludra-skq config ' 'get|set|show'
expect 'ludra-skq config get ' 'al|dfpz|ed|kzp|rq|rr|sct|voi|wo|zpo'
expect 'ludra-skq config set ' 'al|dfpz|kzp|rq|rr|sct|voi|wo|zpo'
expect 'ludra-skq config set rq ' '0|1|no|yes'
expect 'ludra-skq config set --file Ludra.ini voi y' 'yes'
expect 'ludra-skq config set wo ' '0|1'
expect 'ludra-skq config set dfpz ' '0|1|2|3|4'
expect 'ludra-skq config set sct ' 'Lista.skz|Sets'
expect 'ludra-skq config set rq 1 ' ''

# The function is bound to the tool's name
[[ $(complete -p ludra-skq) == 'complete -F _ludra_skq ludra-skq' ]] || {
    echo 'FAIL: ludra-skq has no completion bound'
    failures=$((failures + 1))
}

((failures == 0)) && echo 'all completions as expected'
exit $((failures > 0))

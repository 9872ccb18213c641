# shellcheck shell=bash
# Shared steps of the end-to-end scripts, sourced first thing (it sets -euo pipefail):
# the opening of a script, a virtual display, the real program in it, windows found by their
# titles, clicks at a window's own coordinates, and waiting without blind sleeps.
set -euo pipefail
# shellcheck source=SCRIPTDIR/../../scripts/virtual-display.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/virtual-display.sh"

# e2e_script ROLE... -- ARG...: the opening every script shares. Each ROLE takes the next
# argument into the variable of its name: program (the program), skq (ludra-skq), build (a build
# folder), out (the screenshot folder, made here) or peak_mb. Then starts the virtual display.
# A missing argument ends the script with its usage line.
e2e_script() {
    local roles=() role
    while [ "$1" != -- ]; do
        roles+=("$1")
        shift
    done
    shift
    for role in "${roles[@]}"; do
        [ -n "${1:-}" ] || { sed -n 's/^# Usage: /usage: /p' "$0" >&2; exit 2; }
        # shellcheck disable=SC2034 # the scripts read them
        case $role in
            program) program=$1 ;;
            skq) skq=$1 ;;
            build) build=$1 ;;
            out) out=$1 ;;
            peak_mb) peak_mb=$1 ;;
        esac
        shift
    done
    mkdir -p "$out"
    start_e2e
}

# Makes $work, starts Xvfb and points the program's settings, documents and runtime
# files there, in a UTF-8 locale that every Debian system has (window titles with
# Polish letters are matched in it).
start_e2e() {
    work=$(mktemp -d)
    trap 'stop_e2e' EXIT
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    start_virtual_display "$work"
    mkdir -m 700 "$work/runtime"
    export XDG_CONFIG_HOME=$work/config HOME=$work XDG_RUNTIME_DIR=$work/runtime
}

stop_e2e() {
    # shellcheck disable=SC2086 # a process not started is no argument
    kill ${ludra:-} ${xvfb:-} 2>/dev/null || true
    rm -rf "$work"
}

fail() {
    echo "FAIL: $*"
    # Each script keeps its own screenshot of the failure beside the others' screenshots.
    import -window root "$out/failure-$(basename "$0" .sh).png" 2>/dev/null || true
    [ -f "$work/ludra.log" ] && cat "$work/ludra.log"
    exit 1
}

# Starts the program and waits for its main window; sets $ludra, $main_window, $X and $Y.
start_program() {
    "$@" >"$work/ludra.log" 2>&1 &
    ludra=$!
    main_window=$(wait_for_window '^Orvel - Ludra 4.0$') || fail "no main window"
    eval "$(xdotool getwindowgeometry --shell "$main_window")"
}

# Prints the first visible window whose title matches the pattern, waiting up to 10 s.
wait_for_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits up to 10 s until no visible window's title matches the pattern.
wait_for_no_window() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

shoot() { import -window root "$1"; }

# pack_question SKQ FOLDER NAME TYPE KEY TEXT_ENTRY PICTURE_ENTRY HINT QUESTION ANSWER...:
# a plain Windows-1250 question document in $work/src/NAME (with whatever files
# are there already) packed into FOLDER/NAME.skq.
pack_question() {
    local skq=$1 folder=$2 name=$3 type=$4 key=$5 text=$6 picture=$7 hint=$8 question=$9 i=1
    shift 9
    mkdir -p "$work/src/$name" "$folder"
    {
        printf '<?xml version="1.0"?>\n<pyt>\n<typ>%s</typ>\n<ilo>%s</ilo>\n<tr>%s</tr>\n' "$type" $# "$question"
        for answer in "$@"; do
            printf '<od%d>%s</od%d>\n' $i "$answer" $i
            i=$((i + 1))
        done
        printf '<odp>%s</odp>\n<plr>%s</plr>\n<plimg>%s</plimg>\n<kom>%s</kom>\n</pyt>\n' "$key" "$text" "$picture" "$hint"
    } | iconv -f UTF-8 -t CP1250 >"$work/src/$name/Sezz0.xml"
    "$skq" pack "$work/src/$name" "$folder/$name.skq" >/dev/null
}

# The tests submenu, its folder entry, and the folder's path typed into the dialog
# (ASCII only: xdotool types other letters unreliably). Leaves the menu screen in
# $work/menu.png.
open_folder_through_dialog() {
    shoot "$work/start.png"
    click_main 60 146
    wait_for_change "$work/start.png" 240x133+8+132 1000 || fail "the tests submenu did not open"
    shoot "$work/menu.png"
    click_main 127 189
    choose_folder_in_dialog "$1"
}

# Types the folder into the folder dialog once it comes, and confirms it.
choose_folder_in_dialog() {
    local dialog
    dialog=$(wait_for_window '^Wskaż folder') || fail "no folder dialog"
    xdotool windowfocus --sync "$dialog" type --delay 20 "$1"
    xdotool key Return
    # The completer's list may take the first Return.
    wait_for_no_window '^Wskaż folder' || { xdotool key Return; wait_for_no_window '^Wskaż folder'; } ||
        fail "the folder dialog stays"
}

# The test screen in window mode 0: the top of the tile at a position (from 1), a click on
# that tile, and on the round check button.
tile_top() { echo $((313 + 40 * ($1 - 1))); }
tile() { click_main 312 $(($(tile_top "$1") + 17)); }
check_button() { click_main 129 432; }

# Clicks (the command after the region), then waits until the region WxH+x+y changes.
click_and_wait() {
    shoot "$work/before.png"
    "${@:2}"
    wait_for_change "$work/before.png" "$1" 20 || fail "no change in $1 after: ${*:2}"
}

# Opens the set list window: the tests submenu, then "Chcę wybrać z listy zestaw pytań" at
# (15, 35) of the submenu. Leaves the start screen in $work/start.png, the window's
# geometry in $LIST_X, $LIST_Y, $LIST_WIDTH, $LIST_HEIGHT and its place in $LX, $LY.
open_set_list() {
    local list
    shoot "$work/start.png"
    click_main 60 146
    wait_for_change "$work/start.png" 240x133+8+132 1000 || fail "the tests submenu did not open"
    click_main 83 174
    list=$(wait_for_window '^Lista zestawów') || fail "no set list window"
    eval "$(xdotool getwindowgeometry --shell "$list" | sed 's/^/LIST_/')"
    LX=$LIST_X LY=$LIST_Y
}

# Chooses the set list's first entry, shoots the list to the file given, confirms it and waits
# for the first question.
choose_first_listed_set() {
    open_set_list
    sleep 0.5
    xdotool mousemove $((LX + 100)) $((LY + 95 + 5 + 8)) click 1
    sleep 0.3
    shoot "$1"
    xdotool mousemove $((LX + 225)) $((LY + 396)) click 1
    wait_for_no_window '^Lista zestawów' || fail "the set list window stays"
    wait_for_change "$work/start.png" 441x61+288+180 200 || fail "no question after confirming"
}

# Closes the summary window by its close spot (at 380, 6, 17 x 17).
close_summary() {
    local SUMMARY_X SUMMARY_Y
    eval "$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^X=/SUMMARY_X=/p; s/^Y=/SUMMARY_Y=/p')"
    xdotool mousemove $((SUMMARY_X + 388)) $((SUMMARY_Y + 14)) click 1
    wait_for_no_window '^Podsumowanie' || fail "the summary stays"
}

# Clicks at (x, y) of the main window.
click_main() {
    xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}

# Waits up to 10 s until the screen region WxH+x+y (main window coordinates)
# differs from the one in the given screenshot in more than the given number of
# pixels (default 0), so a click has been answered.
wait_for_change() {
    local before=$1 region=$2 least=${3:-0} now=$work/now.png changed
    local w=${region%%x*} rest=${region#*x}
    local h=${rest%%+*} offset=${rest#*+}
    local crop=${w}x${h}+$((X + ${offset%%+*}))+$((Y + ${offset#*+}))
    for _ in $(seq 50); do
        import -window root "$now"
        changed=$(compare -metric AE -crop "$crop" "$before" "$now" null: 2>&1 || true)
        [ "${changed%%.*}" -gt "$least" ] 2>/dev/null && return 0
        sleep 0.2
    done
    return 1
}

# Counts the pixels darker than mid-grey in WxH+x+y of a screenshot (main window coordinates).
dark_pixels() {
    local shot=$1 region=$2
    local w=${region%%x*} rest=${region#*x}
    local h=${rest%%+*} offset=${rest#*+}
    convert "$shot" -crop "${w}x${h}+$((X + ${offset%%+*}))+$((Y + ${offset#*+}))" -colorspace Gray \
        -threshold 50% -format '%[fx:round((1-mean)*w*h)]' info:
}

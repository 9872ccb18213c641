# Shared steps of the end-to-end scripts, sourced after `set -euo pipefail`:
# a virtual display, the real program in it, windows found by their titles,
# clicks at a window's own coordinates, and waiting without blind sleeps.
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/virtual-display.sh"

# Makes $work, starts Xvfb and points the program's settings and documents there.
start_e2e() {
    work=$(mktemp -d)
    trap 'stop_e2e' EXIT
    start_virtual_display "$work"
    export XDG_CONFIG_HOME=$work/config HOME=$work
}

stop_e2e() {
    kill ${ludra:-} ${xvfb:-} 2>/dev/null || true
    rm -rf "$work"
}

fail() {
    echo "FAIL: $*"
    import -window root "${out:-$work}/failure.png" 2>/dev/null || true
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

# shellcheck shell=bash
# Sourced by the scripts that need a screen: starts Xvfb on a free display
# (it picks the number itself), exports DISPLAY and sets $xvfb to its process.
# Usage: . scripts/virtual-display.sh; start_virtual_display FOLDER [WIDTHxHEIGHT (1366x768)]
start_virtual_display() {
    local folder=$1 size=${2:-1366x768}
    for _ in 1 2 3; do
        rm -f "$folder/display"
        # -noreset: by default the server resets when its last client leaves, which
        # drops a program that is connecting at that moment.
        Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$folder/display" >/dev/null 2>&1 &
        xvfb=$!
        for _ in $(seq 100); do
            # Our own server must be the one answering, not another on that number.
            if [ -s "$folder/display" ] && kill -0 "$xvfb" 2>/dev/null &&
                xdpyinfo -display ":$(cat "$folder/display")" >/dev/null 2>&1; then
                DISPLAY=":$(cat "$folder/display")"
                export DISPLAY
                return 0
            fi
            sleep 0.1
        done
        kill "$xvfb" 2>/dev/null || true
    done
    echo "Xvfb did not start" >&2
    return 1
}

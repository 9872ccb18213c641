#!/usr/bin/env bash
# The real program as a screen reader reads it: in a virtual display with its own
# session bus and accessibility bus, a script walks the AT-SPI tree, opens the bundled
# set list, starts a set, answers by press actions, hears the verdicts and reads the
# summary and the review of mistakes.
# Usage: accessibility.sh PATH/TO/ludra SCREENSHOT_FOLDER
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=SCRIPTDIR/lib.sh
. "$here/lib.sh"

# Inside the private session bus: the accessibility bus, the program, the reader.
if [ -z "${LUDRA_A11Y_BUS:-}" ]; then
    # The bus's helpers must not keep ctest's output open after the run.
    LUDRA_A11Y_BUS=1 timeout 150 dbus-run-session -- "$0" "$@" >"${TMPDIR:-/tmp}/ludra-a11y.$$.log" 2>&1 &&
        status=0 || status=$?
    cat "${TMPDIR:-/tmp}/ludra-a11y.$$.log"
    rm -f "${TMPDIR:-/tmp}/ludra-a11y.$$.log"
    exit "$status"
fi

e2e_script program out -- "$@"
[ -f "$(dirname "$program")/Zestawy/Lista.skz" ] || { echo "FAIL: no Zestawy/Lista.skz beside the program"; exit 1; }
# The Debian package of pyatspi is for the system Python, whatever python3 is first in PATH.
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "FAIL: python3-pyatspi is not installed"; exit 1; }
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "FAIL: at-spi2-core is not installed"; exit 1; }
"$launcher" --launch-immediately >"$work/at-spi.log" 2>&1 &
bus_launcher=$!
trap 'kill $bus_launcher 2>/dev/null || true; stop_e2e' EXIT
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
start_program "$program"

timeout 120 /usr/bin/python3 "$here/read_accessibility_tree.py" || fail "the accessibility tree"
shoot "$out/accessibility-review.png"
kill -0 "$ludra" || fail "the program ended"
echo "PASS"

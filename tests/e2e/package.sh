#!/usr/bin/env bash
# The Debian package as a user gets it: made from the build folder, checked by lintian and by
# the desktop validators, unpacked into a temporary root and started from there with a fresh
# home: the main window comes, the bundled set list is found in share/ludra, a set runs to its
# first question, and F1 opens the help in the program's own window when no browser can.
# Usage: package.sh BUILD_FOLDER SCREENSHOT_FOLDER ICON_SIZE...
# shellcheck source=SCRIPTDIR/lib.sh
. "$(dirname "$0")/lib.sh"
e2e_script build out -- "$@"
shift 2 # the icon sizes remain
source_root=$(cd "$(dirname "$0")/../.." && pwd)

deb=$("$source_root/scripts/package.sh" "$build" "$work/package" | tail -1)
[[ $(basename "$deb") =~ ^ludra_[0-9.]+_[a-z0-9]+\.deb$ ]] || fail "package name: $deb"
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || { cat "$work/lintian"; fail "lintian reports errors"; }
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the dependencies were not computed from the binaries"
dpkg-deb -f "$deb" Depends | grep -qE '(^|, )fonts-liberation(,|$)' || fail "the screen font is not a dependency"
dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr
"$source_root/dist/tests/check-desktop-files.sh" "$usr/share" "$@" || fail "the desktop files"
[ "$("$usr/bin/ludra" --version)" = "$("$usr/bin/ludra-skq" --version | sed 's/^ludra-skq/ludra/')" ] ||
    fail "the two programs' versions differ"
"$usr/bin/ludra-skq" check "$usr/share/ludra/Zestawy/Lista.skz" >/dev/null || fail "the installed set list"
( cd "$usr/share/ludra" && find . -type f -exec md5sum {} + | sort ) >"$work/data-before"

# A desktop without a browser: xdg-open finds nothing to open the page with (its status 3).
mkdir "$work/bin"
printf '#!/bin/sh\nexit 3\n' >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"
start_program "$usr/bin/ludra"

keys() { xdotool key --delay 80 "$@"; }
# The tests submenu by keys, its first entry opens the set list; the first row is a category:
# the first Down takes it, Right opens it, Down goes to its first set, Enter chooses.
xdotool windowfocus --sync "$main_window"
shoot "$work/start.png"
keys Tab Return
sleep 0.3
keys Return
list=$(wait_for_window '^Lista zestawów') || fail "no set list window"
xdotool windowfocus --sync "$list"
keys Down Right Down Return
wait_for_no_window '^Lista zestawów' || fail "no set was chosen from the installed list"
wait_for_change "$work/start.png" 441x61+288+180 200 || fail "no question from the installed set"
shoot "$work/question.png"
[ "$(dark_pixels "$work/question.png" 441x61+288+180)" -gt 100 ] || fail "no question text"

xdotool windowfocus --sync "$main_window"
keys F1
help=$(wait_for_window '^Pomoc - Ludra$') || fail "F1 opened no help window"
sleep 0.5
shoot "$out/help-window.png"
xdotool windowclose "$help" 2>/dev/null || xdotool windowkill "$help"
( cd "$usr/share/ludra" && find . -type f -exec md5sum {} + | sort ) >"$work/data-after"
cmp -s "$work/data-before" "$work/data-after" || fail "the run changed the installed data"
kill -0 "$ludra" || fail "the program ended"
echo "PASS"

#!/usr/bin/env bash
# Builds the program and starts it from its build folder, where the bundled
# sets and help pages lie beside it. Without a display it runs in a virtual
# one, saves a screenshot after start-up and says where it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" run
build=$root/build-run
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUDRA_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/ludra" "$@"
fi

work=$(mktemp -d)
ludra='' xvfb=''
trap 'kill $ludra $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export LANG=C.UTF-8 LC_ALL=C.UTF-8
[ -n "${XDG_RUNTIME_DIR:-}" ] || { mkdir -m 700 "$work/runtime"; export XDG_RUNTIME_DIR=$work/runtime; }
# shellcheck source=SCRIPTDIR/virtual-display.sh
. "$root/scripts/virtual-display.sh"
start_virtual_display "$work"
"$build/ludra" "$@" &
ludra=$!
sleep 3
if ! kill -0 "$ludra" 2>/dev/null; then
    wait "$ludra" && status=0 || status=$?
    echo "The program ended during start-up (exit status $status); no screenshot." >&2
    exit 1
fi
import -window root "$build/screenshot.png"
echo "No display: the program ran in a virtual one. Screenshot after start-up: $build/screenshot.png"

#!/usr/bin/env bash
# Start-up of the program against its floor, a minimal Qt program showing one window of the
# main window's size: time until the window is mapped and peak resident memory, interleaved
# runs in one virtual display, medians and ratios. Each run of the program has a fresh home.
# Usage: scripts/bench-startup.sh BUILD_FOLDER [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build folder with -DLUDRA_BENCH=ON}
runs=${2:-15}
work=$(mktemp -d)
trap 'kill ${xvfb:-} 2>/dev/null || true; rm -rf "$work"' EXIT
# shellcheck source=SCRIPTDIR/virtual-display.sh
. "$root/scripts/virtual-display.sh"
start_virtual_display "$work"
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 XDG_RUNTIME_DIR=$work/runtime
wait_map() { "$build/bench/startup/map-wait" 790 581 500 "$@" 2>/dev/null; }

for _ in $(seq "$runs"); do
    wait_map "$build/bench/startup/minimal-window" >>"$work/floor"
    rm -rf "${work:?}/home" && mkdir -p "$work/home"
    HOME=$work/home XDG_CONFIG_HOME=$work/home/.config wait_map "$build/ludra" >>"$work/ludra"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
floor_ms=$(cut -d' ' -f1 "$work/floor" | median)
ludra_ms=$(cut -d' ' -f1 "$work/ludra" | median)
floor_kb=$(cut -d' ' -f2 "$work/floor" | median)
ludra_kb=$(cut -d' ' -f2 "$work/ludra" | median)
awk -v fm="$floor_ms" -v lm="$ludra_ms" -v fk="$floor_kb" -v lk="$ludra_kb" -v n="$runs" 'BEGIN {
    printf "%-34s %10s %10s %7s\n", "start-up (" n " runs, medians)", "floor", "ludra", "ratio"
    printf "%-34s %10.1f %10.1f %6.2fx\n", "time until the window is mapped, ms", fm, lm, lm / fm
    printf "%-34s %10.1f %10.1f %6.2fx\n", "peak resident memory, MB", fk / 1024, lk / 1024, lk / fk
}'

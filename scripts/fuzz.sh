#!/usr/bin/env bash
# Runs every fuzz target for a fixed number of inputs or a fixed time, whichever
# ends first, starting from its seed corpus in fuzz/corpus/<name>; new inputs go
# to a scratch folder. The time bound keeps the test command's length steady when
# a run's corpus drifts towards large (slow but legal) pictures.
# Usage: scripts/fuzz.sh BUILD_DIR RUNS [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?build folder}
runs=${2:?number of inputs}
seconds=${3:-60}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for target in "$build"/fuzz/fuzz_*; do
    name=$(basename "$target")
    name=${name#fuzz_}
    mkdir -p "$scratch/$name"
    inputs=$runs
    # The settings reader writes its file back on every input, through a real disk.
    [ "$name" = settings ] && inputs=$((runs / 5))
    # Every picture, however crafted, is decoded or refused within a second and 400 MB; the margin is for the
    # sanitizers.
    limits=(-timeout=10 -rss_limit_mb=2560)
    case $name in jpeg | gif | bmp | png) limits=(-timeout=2 -rss_limit_mb=400) ;; esac
    # Where a cost once grew with the input's size, the inputs reach megabytes, and grow from the first run on.
    sizes=(-max_len=65536)
    case $name in html | png) sizes=(-max_len=2097152 -len_control=0) ;; esac
    echo "-- $name: $inputs inputs"
    "$target" -runs="$inputs" -max_total_time="$seconds" -seed=1 "${limits[@]}" "${sizes[@]}" -print_final_stats=0 \
        "$scratch/$name" "$root/fuzz/corpus/$name" 2>"$scratch/$name.log" || {
        tail -n 60 "$scratch/$name.log"
        exit 1
    }
    grep -E '^Done [0-9]+ runs' "$scratch/$name.log"
done

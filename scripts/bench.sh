#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all, then prints one table of the rows measured
# beside a floor (ours / floor, medians of alternating runs). Extra arguments go to each benchmark
# (for example --benchmark_filter=Xml). LUDRA_BENCH_DIR picks the build folder, LUDRA_JOBS the
# number of build jobs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUDRA_BENCH_DIR:-$root/build-bench}
"$root/scripts/install-deps.sh" test
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUDRA_BENCH=ON -DLUDRA_TESTS=OFF >/dev/null
cmake --build "$build" -j "${LUDRA_JOBS:-$(nproc)}"
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
for bench in "$build"/bench/*_bench; do
    echo "== $(basename "$bench")"
    "$bench" --benchmark_out="$results/$(basename "$bench").json" --benchmark_out_format=json "$@"
done
python3 - "$results" <<'PY'
import json, pathlib, sys
rows = []
for path in sorted(pathlib.Path(sys.argv[1]).glob("*.json")):
    for run in json.loads(path.read_text()).get("benchmarks", []):
        if "ratio" in run:
            key, unit = ("ms", "ms") if "ours_ms" in run else ("mb", "MB")
            rows.append((run["name"].removesuffix("/manual_time"), run[f"ours_{key}"], run[f"floor_{key}"],
                         run["ratio"], unit))
if rows:
    width = max(len(name) for name, *_ in rows)
    print(f"\n{'work':<{width}}  {'ours':>10}  {'floor':>10}  {'ratio':>6}")
    for name, ours, floor, ratio, unit in rows:
        print(f"{name:<{width}}  {ours:>7.3f} {unit:<2}  {floor:>7.3f} {unit:<2}  {ratio:>6.2f}")
PY
echo
"$root/scripts/bench-startup.sh" "$build"
# A desktop session has a session bus: without one, Qt's accessibility bridge makes libdbus start
# dbus-launch, which the program pays before its window maps and the floor after.
if command -v dbus-run-session >/dev/null; then
    echo "with a session bus:"
    dbus-run-session -- "$root/scripts/bench-startup.sh" "$build" 2>/dev/null
fi

#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all; extra arguments go to each
# benchmark (for example --benchmark_filter=Xml).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" test
cmake -S "$root" -B "$root/build-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUDRA_BENCH=ON -DLUDRA_TESTS=OFF >/dev/null
cmake --build "$root/build-bench" -j "$(nproc)"
for bench in "$root"/build-bench/bench/*_bench; do
    echo "== $(basename "$bench")"
    "$bench" "$@"
done

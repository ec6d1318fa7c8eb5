#!/usr/bin/env bash
# Builds the benchmarks optimised, without sanitizers, and runs them.
# Extra arguments go to every benchmark (for example: --benchmark_filter=Blit).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
build="$here/build/bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVXN_TESTS=OFF -DVXN_BENCH=ON
cmake --build "$build"
for b in "$build"/bench_*; do
  [ -x "$b" ] && "$b" "$@"
done

#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while (default 60 s)
# with inputs up to a size limit (default 1 MB).
# Usage: scripts/fuzz.sh [seconds] [name-filter] [max-input-bytes]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
filter=${2:-}
max_len=${3:-1048576}
bash "$here/scripts/setup.sh"
build="$here/build/fuzz"
CC=clang-14 CXX=clang++-14 cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVXN_TESTS=OFF -DVXN_FUZZ=ON
cmake --build "$build"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp"
for f in "$build"/fuzz_*; do
  [ -x "$f" ] || continue
  case "$(basename "$f")" in *"$filter"*) ;; *) continue ;; esac
  corpus="$build/corpus/$(basename "$f")"
  mkdir -p "$corpus"
  echo "== $(basename "$f") for ${seconds}s"
  "$f" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=4096 -print_final_stats=1 "$corpus"
done

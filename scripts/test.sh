#!/usr/bin/env bash
# Sets the machine up, builds everything with the sanitizers and runs all tests.
# Extra arguments go to ctest (for example: -L app).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
build="$here/build/test"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVXN_SANITIZE=ON -DVXN_TESTS=ON
cmake --build "$build"
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"

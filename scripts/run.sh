#!/usr/bin/env bash
# Sets the machine up, builds the program and starts it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVXN_TESTS=OFF
cmake --build "$here/build/release" --target vxn
exec "$here/build/release/vxn" "$@"

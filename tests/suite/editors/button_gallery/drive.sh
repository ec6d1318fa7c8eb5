#!/usr/bin/env bash
# The part of run.sh that runs inside the virtual X server.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../support/XSmoke.sh"
smoke_start --show-file ready "$1" "$2" --show
wait_for 30 test -f "$2/ready" || fail "the program did not come up"
read -r _ fx fy face < <(grep '^face' "$2/ready")
read -r _ gx gy glyph < <(grep '^glyph' "$2/ready")
wait_for 10 test "$(pixel "$fx" "$fy")" = "$face" || fail "button face not on screen: $(pixel "$fx" "$fy"), wanted $face"
test "$(pixel "$gx" "$gy")" = "$glyph" || fail "glyph not on screen: $(pixel "$gx" "$gy"), wanted $glyph"
smoke_shot screen.png
smoke_end
echo "button smoke passed; screenshot: $2/screen.png"

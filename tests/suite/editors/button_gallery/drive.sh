#!/usr/bin/env bash
# The part of run.sh that runs inside the virtual X server.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../support/XSmoke.sh"
smoke_start --show-file ready "$1" "$2" --show
wait_for 30 test -f "$2/ready" || fail "the program did not come up"
read -r _ fx fy face < <(grep '^face' "$2/ready")
read -r _ gx gy glyph < <(grep '^glyph' "$2/ready")
read -r _ ix iy image < <(grep '^treeimage' "$2/ready")
read -r _ cx cy < <(grep '^treeclick' "$2/ready")
read -r _ sx sy highlight < <(grep '^treeselected' "$2/ready")
wait_for 10 test "$(pixel "$fx" "$fy")" = "$face" || fail "button face not on screen: $(pixel "$fx" "$fy"), wanted $face"
test "$(pixel "$gx" "$gy")" = "$glyph" || fail "glyph not on screen: $(pixel "$gx" "$gy"), wanted $glyph"
test "$(pixel "$ix" "$iy")" = "$image" || fail "tree node image not on screen: $(pixel "$ix" "$iy"), wanted $image"
test "$(pixel "$sx" "$sy")" != "$highlight" || fail "a tree node shows selected before the click"
xdotool mousemove --sync "$cx" "$cy" click 1
wait_for 10 test "$(pixel "$sx" "$sy")" = "$highlight" ||
  fail "the clicked tree node is not highlighted: $(pixel "$sx" "$sy"), wanted $highlight"
smoke_shot screen.png
smoke_end
echo "button smoke passed; screenshot: $2/screen.png"

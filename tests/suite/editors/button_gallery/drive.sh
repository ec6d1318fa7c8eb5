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
read -r _ kx ky < <(grep '^checkclick' "$2/ready")
read -r _ mx my mark < <(grep '^checkmark' "$2/ready")
read -r _ rx ry < <(grep '^radioclick' "$2/ready")
read -r _ dx dy dot < <(grep '^radiodot' "$2/ready")
wait_for 10 test "$(pixel "$fx" "$fy")" = "$face" || fail "button face not on screen: $(pixel "$fx" "$fy"), wanted $face"
test "$(pixel "$gx" "$gy")" = "$glyph" || fail "glyph not on screen: $(pixel "$gx" "$gy"), wanted $glyph"
test "$(pixel "$ix" "$iy")" = "$image" || fail "tree node image not on screen: $(pixel "$ix" "$iy"), wanted $image"
test "$(pixel "$sx" "$sy")" != "$highlight" || fail "a tree node shows selected before the click"
xdotool mousemove --sync "$cx" "$cy" click 1
wait_for 10 test "$(pixel "$sx" "$sy")" = "$highlight" ||
  fail "the clicked tree node is not highlighted: $(pixel "$sx" "$sy"), wanted $highlight"
test "$(pixel "$mx" "$my")" != "$mark" || fail "the unchecked box shows a mark before the click"
test "$(pixel "$dx" "$dy")" != "$dot" || fail "the radio button shows checked before the click"
xdotool mousemove --sync "$kx" "$ky" click 1
xdotool mousemove --sync "$rx" "$ry" click 1
xdotool mousemove --sync 1 1
wait_for 10 test "$(pixel "$mx" "$my")" = "$mark" ||
  fail "the clicked check box shows no mark: $(pixel "$mx" "$my"), wanted $mark"
wait_for 10 test "$(pixel "$dx" "$dy")" = "$dot" ||
  fail "the clicked radio button shows no dot: $(pixel "$dx" "$dy"), wanted $dot"
smoke_shot screen.png
smoke_end
echo "button smoke passed; screenshot: $2/screen.png"

#!/usr/bin/env bash
# The part of run.sh that runs inside the virtual X server.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../support/XSmoke.sh"
smoke_start --show-file ready "$1" "$2" --show
wait_for 30 test -f "$2/ready" || fail "the program did not come up"
read -r _ tx ty text < <(grep '^text' "$2/ready")
read -r _ rx ry < <(grep '^righttext' "$2/ready")
read -r _ lx ly back < <(grep '^rightleft' "$2/ready")
read -r _ cx cy < <(grep '^lookupclick' "$2/ready")
read -r _ sx sy highlight < <(grep '^completion' "$2/ready")
wait_for 10 test "$(pixel "$tx" "$ty")" = "$text" || fail "the plain editor's text is not on screen: $(pixel "$tx" "$ty"), wanted $text"
test "$(pixel "$rx" "$ry")" = "$text" || fail "the right-aligned text is not at the right: $(pixel "$rx" "$ry")"
test "$(pixel "$lx" "$ly")" = "$back" || fail "the right-aligned editor shows something at its left: $(pixel "$lx" "$ly")"
test "$(pixel "$sx" "$sy")" != "$highlight" || fail "the lookup editor shows a selection before typing"
xdotool mousemove --sync "$cx" "$cy" click 1
xdotool type --delay 100 a
wait_for 10 test "$(pixel "$sx" "$sy")" = "$highlight" ||
  fail "typing does not show the completion selected: $(pixel "$sx" "$sy"), wanted $highlight"
smoke_shot screen.png
smoke_end
echo "text editor smoke passed; screenshot: $2/screen.png"

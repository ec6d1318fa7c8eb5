#!/usr/bin/env bash
# The part of run.sh for the desktop-use program's MDI frame, inside the
# virtual X server (no window manager): the maximised child is restored,
# maximised again, worked from its system menu and closed, all by mouse on
# the frame's menu bar.
set -euo pipefail
program=$1
out=$2

source "$(cd "$(dirname "$0")" && pwd)/../../../support/XSmoke.sh"
smoke_start --sigterm --show-file state "$program" "$out" mdi

wait_for 20 test -f "$out/ready" || fail "the program did not come up"
read -r _ cx cy < <(grep '^close' "$out/ready")
read -r _ rx ry < <(grep '^restore' "$out/ready")
read -r _ ix iy < <(grep '^icon' "$out/ready")
read -r _ tx ty < <(grep '^caption' "$out/ready")
wait_for 10 find_window || fail "no X window of class '$(basename "$program")'"
xdotool windowfocus --sync "$window"
wait_for 5 grep -q '^child=2$' "$out/state" || fail "the child did not come up maximised"
smoke_shot mdi.png

maximise_again() {
  sleep 0.6  # no double click with the last press
  xdotool mousemove --sync "$tx" "$ty" click --repeat 2 --delay 80 1
  wait_for 5 grep -q '^child=2$' "$out/state" || fail "a double click on the child's caption did not maximise it"
}

xdotool mousemove --sync "$rx" "$ry" click 1
wait_for 5 grep -q '^child=0$' "$out/state" || fail "the restore button in the menu bar did not restore the child"
maximise_again
# The icon drops the child's system menu; its first item restores.
sleep 0.6
xdotool mousemove --sync "$ix" "$iy" click 1
sleep 0.5
xdotool key Down Return
wait_for 5 grep -q '^child=0$' "$out/state" || fail "the child's system menu did not drop from its icon in the menu bar"
maximise_again
sleep 0.6
xdotool mousemove --sync "$cx" "$cy" click 1
wait_for 5 grep -q '^childclosed=1$' "$out/state" || fail "the close button in the menu bar did not close the child"

smoke_end
echo "mdi use passed"

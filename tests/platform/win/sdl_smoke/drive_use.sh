#!/usr/bin/env bash
# The part of run.sh for the desktop-use program, inside the virtual X
# server (no window manager).
set -euo pipefail
program=$1
out=$2

source "$(cd "$(dirname "$0")" && pwd)/../../../support/XSmoke.sh"
smoke_start --sigterm --show-file state "$program" "$out"

wait_for 20 test -f "$out/ready" || fail "the program did not come up"
read -r _ ex ey < <(grep '^echo' "$out/ready")
wait_for 10 find_window || fail "no X window of class '$(basename "$program")'"

xdotool mousemove --sync "$ex" "$ey" click 1
# Without a window manager nobody hands out the keyboard focus at first.
xdotool windowfocus --sync "$window"
sleep 0.3

# A popup menu opens and is dismissed: the keyboard still works after it.
xdotool click 3
sleep 0.5
xdotool key Escape
sleep 0.5
xdotool type --delay 60 'ab'
wait_for 5 grep -q '^text=ab$' "$out/state" || fail "typing after a dismissed popup menu did not arrive"
xdotool mousemove --sync "$ex" "$ey" click 3
sleep 0.5
xdotool key Down Return
wait_for 5 grep -q '^first=1$' "$out/state" || fail "the popup menu's item was not chosen"
xdotool type --delay 60 'c'
wait_for 5 grep -q '^text=abc$' "$out/state" || fail "typing after a chosen popup menu item did not arrive"

# Alt+letter presses the button and toggles the check box once each.
xdotool key alt+a
xdotool key alt+c
wait_for 5 grep -q '^check=1$' "$out/state" || fail "Alt+C did not check the box"
sleep 0.5
grep -q '^apply=1$' "$out/state" || fail "Alt+A did not press the button exactly once"
grep -q '^check=1$' "$out/state" || fail "Alt+C toggled the box more than once"

# An idle program sleeps: the user-interface thread's context switches over
# a few quiet seconds.
xdotool mousemove --sync 900 700
sleep 1
switches() { awk '/^(non)?voluntary_ctxt_switches/ {n += $2} END {print n}' "/proc/$smoke_pid/task/$smoke_pid/status"; }
before=$(switches)
sleep 4
after=$(switches)
rate=$(( (after - before) / 4 ))
echo "idle wake-ups per second: $rate"
[ "$rate" -le 5 ] || fail "an idle program woke $rate times per second"

# SIGTERM closes the form as a person would (close query, OnClose) and ends
# the program cleanly; the sanitizers find nothing.
smoke_end
grep -q '^closequery=1$' "$out/state" || fail "SIGTERM did not ask the form's close query"
grep -q '^closed=1$' "$out/state" || fail "SIGTERM did not close the form"
echo "desktop use passed"

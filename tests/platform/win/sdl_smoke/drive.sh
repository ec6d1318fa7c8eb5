#!/usr/bin/env bash
# The part of run.sh that runs inside the virtual X server.
set -euo pipefail
program=$1
out=$2

source "$(dirname "$0")/drive_lib.sh"
start_program "$program" "$out"
# This program ends when asked through a file.
finish() {
  touch "$out/quit"
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

wait_for 20 test -f "$out/ready" || fail "the program did not come up"
read -r _ bx by < <(grep '^button' "$out/ready")
read -r _ ex ey < <(grep '^echo' "$out/ready")
read -r _ px py < <(grep '^popup' "$out/ready")
read -r _ fx fy < <(grep '^back' "$out/ready")
read -r _ facex facey styledface classicface < <(grep '^face' "$out/ready")
# Under a UTF-8 locale Xlib may give WM_NAME an encoding that "search --name"
# cannot read (C.UTF-8 does): find the program's windows by class and read
# each title as the desktop does.
find_window() {
  window=""
  for w in $(xdotool search --classname "^$(basename "$program")\$" 2>/dev/null); do
    if [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "SDL smoke" ]; then window=$w; break; fi
  done
  [ -n "$window" ]
}
wait_for 10 find_window || fail "no X window titled 'SDL smoke'"

pixel() {  # colour of the screen at x y as "r,g,b"
  import -window root "$out/probe.png"
  convert "$out/probe.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}

xdotool mousemove --sync "$bx" "$by" click 1
wait_for 10 grep -q '^clicks=1$' "$out/state" || fail "the button did not see the click"

xdotool mousemove --sync "$ex" "$ey" click 1
# Without a window manager nobody hands out the keyboard focus.
xdotool windowfocus --sync "$window"
sleep 0.3
xdotool type --delay 60 'Hi5 x.'
wait_for 10 grep -q '^text=Hi5 x\.$' "$out/state" || fail "the echo control did not get 'Hi5 x.'"

# The screen shows what the program painted: the form turned green on the
# click, the popup is yellow at its own place outside the main window.
sleep 0.5
wait_for 5 test "$(pixel "$fx" "$fy")" = "0,200,0" || fail "form not green on screen: $(pixel "$fx" "$fy")"
[ "$(pixel "$((px - 60))" "$py")" = "255,255,0" ] || fail "popup not yellow on screen: $(pixel "$((px - 60))" "$py")"

# The standard controls wear the visual style by default; the button's face
# is the style's until the program is told to switch to the classic look.
xdotool mousemove --sync 5 5
sleep 0.3
wait_for 5 test "$(pixel "$facex" "$facey")" = "$styledface" || fail "button face not styled: $(pixel "$facex" "$facey")"
import -window root "$out/screen.png"
touch "$out/classic"
wait_for 10 grep -q '^mode=classic$' "$out/state" || fail "the program did not switch to the classic look"
sleep 0.5
wait_for 5 test "$(pixel "$facex" "$facey")" = "$classicface" || fail "button face not classic: $(pixel "$facex" "$facey")"
import -window root "$out/screen-classic.png"
rm -f "$out/probe.png"

# A clean end: the program leaves its loop, and the sanitizers find nothing.
trap - EXIT
touch "$out/quit"
status=0
wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || { kill "$pid" 2>/dev/null || true; fail "the program did not end"; }
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "sdl smoke passed; screenshots: $out/screen.png (visual style), $out/screen-classic.png (no styles)"

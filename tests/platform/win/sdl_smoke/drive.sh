#!/usr/bin/env bash
# The part of run.sh that runs inside the virtual X server.
set -euo pipefail
program=$1
out=$2

source "$(cd "$(dirname "$0")" && pwd)/../../../support/XSmoke.sh"
# This program ends when asked through a file.
smoke_start --show-file state "$program" "$out"

wait_for 20 test -f "$out/ready" || fail "the program did not come up"
read -r _ bx by < <(grep '^button' "$out/ready")
read -r _ ex ey < <(grep '^echo' "$out/ready")
read -r _ px py < <(grep '^popup' "$out/ready")
read -r _ fx fy < <(grep '^back' "$out/ready")
read -r _ facex facey styledface classicface < <(grep '^face' "$out/ready")
wait_for 10 find_window "SDL smoke" || fail "no X window titled 'SDL smoke'"

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
smoke_shot screen.png
touch "$out/classic"
wait_for 10 grep -q '^mode=classic$' "$out/state" || fail "the program did not switch to the classic look"
sleep 0.5
wait_for 5 test "$(pixel "$facex" "$facey")" = "$classicface" || fail "button face not classic: $(pixel "$facex" "$facey")"
smoke_shot screen-classic.png
smoke_end
echo "sdl smoke passed; screenshots: $out/screen.png (visual style), $out/screen-classic.png (no styles)"

#!/usr/bin/env bash
# The part of run.sh that runs inside the virtual X server.
set -euo pipefail
program=$1
out=$2

VXN_DISPLAY=sdl "$program" "$out" >"$out/program.log" 2>&1 &
pid=$!
finish() {
  touch "$out/quit"
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
trap finish EXIT

fail() {
  echo "FAIL: $*"
  echo "--- program log"; cat "$out/program.log" || true
  echo "--- ready"; cat "$out/ready" 2>/dev/null || true
  exit 1
}

wait_for() {
  local limit=$(($1 * 10)); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}

wait_for 20 test -f "$out/ready" || fail "the program did not come up"
read -r _ fx fy < <(grep '^file' "$out/ready")
read -r _ il it ir ib < <(grep '^item' "$out/ready")
read -r _ bx by < <(grep '^bar' "$out/ready")
iconfill=$(grep '^iconfill' "$out/ready" | cut -d' ' -f2)
selectfill=$(grep '^selectfill' "$out/ready" | cut -d' ' -f2)
barface=$(grep '^barface' "$out/ready" | cut -d' ' -f2)
find_window() { [ -n "$(xdotool search --name '.*' 2>/dev/null | head -n1)" ]; }
wait_for 10 find_window || fail "no X window"

pixel() {  # colour of the screen at x y as "r,g,b"
  convert "$out/screen.png" -format "%[fx:int(255*p{$1,$2}.r+0.5)],%[fx:int(255*p{$1,$2}.g+0.5)],%[fx:int(255*p{$1,$2}.b+0.5)]" info:
}

sleep 0.5
xdotool mousemove --sync "$fx" "$fy" click 1
sleep 1
import -window root "$out/screen.png"

# The open drop-down: its icon column in the skin's IconFill, 3 pixels of
# frame from the item's left edge. The bar item is selected in SelectFill.
# The tool bar beside the menu keeps its lightened face.
[ "$(pixel "$((il + 8))" "$((ib + 12))")" = "$iconfill" ] || fail "no icon column under the open menu: $(pixel "$((il + 8))" "$((ib + 12))") not $iconfill"
[ "$(pixel "$((il + 4))" "$((it + 6))")" = "$selectfill" ] || fail "bar item not selected: $(pixel "$((il + 4))" "$((it + 6))") not $selectfill"
[ "$(pixel "$bx" "$by")" = "$barface" ] || fail "tool bar not skinned: $(pixel "$bx" "$by") not $barface"

xdotool key Escape
trap - EXIT
touch "$out/quit"
status=0
wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || { kill "$pid" 2>/dev/null || true; fail "the program did not end"; }
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "skin smoke passed; screenshot: $out/screen.png"

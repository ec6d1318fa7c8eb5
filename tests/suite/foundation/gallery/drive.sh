#!/usr/bin/env bash
# The part of run.sh that runs inside the virtual X server.
set -euo pipefail
program=$1
out=$2

VXN_DISPLAY=sdl "$program" "$out" --show >"$out/program.log" 2>&1 &
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
  exit 1
}
wait_for() {
  local limit=$(($1 * 10)); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}
wait_for 20 test -f "$out/ready" || fail "the program did not come up"
read -r _ px py < <(grep '^probe' "$out/ready")
read -r _ gx gy face < <(grep '^grip' "$out/ready")
read -r _ cx cy < <(grep '^page' "$out/ready")
read -r _ bx by < <(grep '^bar' "$out/ready")
pixel() {
  import -window root "$out/probe.png"
  convert "$out/probe.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}
# The standard painter's default button starts with a black ring.
wait_for 10 test "$(pixel "$px" "$py")" = "0,0,0" || fail "gallery not on screen: $(pixel "$px" "$py")"
# The suite control below it: its page, its vertical bar and the size grip
# between the bars.
test "$(pixel "$cx" "$cy")" = "255,255,255" || fail "control page not white: $(pixel "$cx" "$cy")"
test "$(pixel "$bx" "$by")" != "255,255,255" || fail "no vertical bar beside the page"
test "$(pixel "$gx" "$gy")" = "$face" || fail "no size grip: $(pixel "$gx" "$gy"), wanted $face"
import -window root "$out/screen.png"
rm -f "$out/probe.png"
trap - EXIT
touch "$out/quit"
status=0
wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || { kill "$pid" 2>/dev/null || true; fail "the program did not end"; }
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "painter gallery smoke passed; screenshot: $out/screen.png"

#!/usr/bin/env bash
# The part of run.sh that runs inside the virtual X server.
set -euo pipefail
program=$1
out=$2

source "$(cd "$(dirname "$0")" && pwd)/../../../support/XSmoke.sh"
smoke_start --show-file ready "$program" "$out" --show
wait_for 20 test -f "$out/ready" || fail "the program did not come up"
read -r _ px py < <(grep '^probe' "$out/ready")
read -r _ gx gy face < <(grep '^grip' "$out/ready")
read -r _ cx cy < <(grep '^page' "$out/ready")
read -r _ bx by < <(grep '^bar' "$out/ready")
# The standard painter's default button starts with a black ring.
wait_for 10 test "$(pixel "$px" "$py")" = "0,0,0" || fail "gallery not on screen: $(pixel "$px" "$py")"
# The suite control below it: its page, its vertical bar and the size grip
# between the bars.
test "$(pixel "$cx" "$cy")" = "255,255,255" || fail "control page not white: $(pixel "$cx" "$cy")"
test "$(pixel "$bx" "$by")" != "255,255,255" || fail "no vertical bar beside the page"
test "$(pixel "$gx" "$gy")" = "$face" || fail "no size grip: $(pixel "$gx" "$gy"), wanted $face"
smoke_shot screen.png
smoke_end
echo "painter gallery smoke passed; screenshot: $out/screen.png"

#!/usr/bin/env bash
# Shared steps of a virtual-X smoke run, sourced by a smoke test's scripts.
#
# smoke_run <program> <out> <drive script>: checks the X tools (exit 77 when
# one is missing), then runs the drive script on a virtual X server of its
# own with the program and the output directory as its arguments.
smoke_run() {
  local program=$1 out=$2 drive=$3 tool
  for tool in xvfb-run xauth import convert; do
    command -v "$tool" >/dev/null || { echo "missing $tool: skipped"; exit 77; }
  done
  mkdir -p "$out"
  rm -f "$out"/ready "$out"/quit "$out"/screen.png "$out"/program.log
  exec timeout --kill-after=10 120 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    bash "$drive" "$program" "$out"
}

# Inside the server: smoke_start <program> <out> starts the program on the
# desktop backend with --show; it is asked to end (quit file) and waited for
# when the script leaves early.
smoke_start() {
  smoke_out=$2
  VXN_DISPLAY=sdl "$1" "$2" --show >"$2/program.log" 2>&1 &
  smoke_pid=$!
  trap smoke_finish EXIT
}
smoke_finish() {
  touch "$smoke_out/quit"
  for _ in $(seq 50); do kill -0 "$smoke_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$smoke_pid" 2>/dev/null || true
  wait "$smoke_pid" 2>/dev/null || true
}
fail() {
  echo "FAIL: $*"
  echo "--- program log"; cat "$smoke_out/program.log" || true
  exit 1
}
# wait_for <seconds> <command...>
wait_for() {
  local limit=$(($1 * 10)); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}
# pixel <x> <y>: the screen's pixel as r,g,b.
pixel() {
  import -window root "$smoke_out/probe.png"
  convert "$smoke_out/probe.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}
# smoke_end: keeps screen.png, asks the program to end and checks that it
# ended well.
smoke_end() {
  import -window root "$smoke_out/screen.png"
  rm -f "$smoke_out/probe.png"
  trap - EXIT
  touch "$smoke_out/quit"
  local status=0
  wait_for 10 bash -c "! kill -0 $smoke_pid 2>/dev/null" || { kill "$smoke_pid" 2>/dev/null || true; fail "the program did not end"; }
  wait "$smoke_pid" || status=$?
  [ "$status" = 0 ] || fail "the program ended with status $status"
}

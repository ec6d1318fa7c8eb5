# What the driving scripts of the desktop-use program share: start it on
# the virtual X server, end it however the script ends, report a failure
# with what the program said and saw, and wait for a condition.
# Usage: source drive_lib.sh; start_program <program> <out> [mode]

start_program() {
  VXN_DISPLAY=sdl "$@" >"$2/program.log" 2>&1 &
  pid=$!
  out=$2
  trap finish EXIT
}

finish() {
  kill -TERM "$pid" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

fail() {
  echo "FAIL: $*"
  echo "--- program log"; cat "$out/program.log" || true
  echo "--- state"; cat "$out/state" 2>/dev/null || true
  exit 1
}

# wait_for <seconds> <command...>
wait_for() {
  local limit=$(($1 * 10)); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# By class: under a UTF-8 locale the title is a UTF-8 property that the
# tool cannot read.
find_window() { window=$(xdotool search --classname '^sdl_desktop_use$' 2>/dev/null | head -n1); [ -n "$window" ]; }

# SIGTERM ends the program cleanly, with status 0 (the sanitizers found nothing).
end_by_sigterm() {
  trap - EXIT
  kill -TERM "$pid"
  local status=0
  wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || { kill -KILL "$pid" 2>/dev/null || true; fail "SIGTERM did not end the program"; }
  wait "$pid" || status=$?
  [ "$status" = 0 ] || fail "the program ended with status $status"
}

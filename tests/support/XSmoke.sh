#!/usr/bin/env bash
# Shared steps of a virtual-X smoke run, sourced by a smoke test's run and
# drive scripts.
#
# smoke_run <program> <out> <drive script> [tool...]: checks the X tools
# (exit 77 when one is missing; CI installs them), empties what an earlier
# run left in <out>, then runs the drive script on a virtual X server of its
# own with the program and the output directory as its arguments.
smoke_run() {
  local program=$1 out=$2 drive=$3 tool
  shift 3
  for tool in xvfb-run xauth import convert "$@"; do
    command -v "$tool" >/dev/null || { echo "missing $tool: skipped"; exit 77; }
  done
  mkdir -p "$out"
  rm -f "$out"/ready "$out"/state "$out"/quit "$out"/classic "$out"/*.png "$out"/program.log
  # xvfb-run tears its server down when the drive script ends; timeout ends
  # the whole run if anything in it hangs.
  exec timeout --kill-after=10 120 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    bash "$drive" "$program" "$out"
}

# Inside the server:
# smoke_start [--sigterm] [--show-file <name>] <program> <out> [argument...]
# starts the program on the desktop backend with its output directory and
# the arguments. The program is asked to end by a "quit" file in <out>, or
# by SIGTERM with --sigterm; when the script leaves early it is asked, given
# five seconds and then killed. A failure shows the program's log and, with
# --show-file, that file of <out> (what the program saw).
smoke_start() {
  smoke_stop=quit
  smoke_show=""
  while [ $# -gt 0 ]; do
    case $1 in
      --sigterm) smoke_stop=sigterm; shift ;;
      --show-file) smoke_show=$2; shift 2 ;;
      *) break ;;
    esac
  done
  smoke_program=$1
  smoke_out=$2
  VXN_DISPLAY=sdl "$@" >"$smoke_out/program.log" 2>&1 &
  smoke_pid=$!
  trap smoke_finish EXIT
}
smoke_ask_to_end() {
  if [ "$smoke_stop" = sigterm ]; then
    kill -TERM "$smoke_pid" 2>/dev/null || true
  else
    touch "$smoke_out/quit"
  fi
}
smoke_finish() {
  smoke_ask_to_end
  for _ in $(seq 50); do kill -0 "$smoke_pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$smoke_pid" 2>/dev/null || true
  wait "$smoke_pid" 2>/dev/null || true
}
fail() {
  echo "FAIL: $*"
  echo "--- program log"; cat "$smoke_out/program.log" || true
  if [ -n "$smoke_show" ]; then
    echo "--- $smoke_show"; cat "$smoke_out/$smoke_show" 2>/dev/null || true
  fi
  exit 1
}
# wait_for <seconds> <command...>
wait_for() {
  local limit=$(($1 * 10)); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}
# find_window [title]: sets window to the program's X window, found by its
# class (the program's file name); with a title, the one of that title. By
# class because under a UTF-8 locale Xlib may give WM_NAME an encoding that
# a search by name cannot read; the title is read as the desktop reads it.
find_window() {
  local w
  window=""
  for w in $(xdotool search --classname "^$(basename "$smoke_program")\$" 2>/dev/null); do
    if [ $# = 0 ] || [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ]; then window=$w; break; fi
  done
  [ -n "$window" ]
}
# pixel <x> <y>: the screen's pixel as r,g,b.
pixel() {
  import -window root "$smoke_out/probe.png"
  convert "$smoke_out/probe.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}
# smoke_shot <name>: keeps the screen as <out>/<name>.
smoke_shot() {
  import -window root "$smoke_out/$1"
}
# smoke_end: the clean end. The program is asked to end as smoke_start was
# told; it must leave its loop within ten seconds with status 0 (so the
# sanitizers found nothing).
smoke_end() {
  rm -f "$smoke_out/probe.png"
  trap - EXIT
  smoke_ask_to_end
  local status=0
  wait_for 10 bash -c "! kill -0 $smoke_pid 2>/dev/null" || { kill -KILL "$smoke_pid" 2>/dev/null || true; fail "the program did not end when asked"; }
  wait "$smoke_pid" || status=$?
  [ "$status" = 0 ] || fail "the program ended with status $status"
}

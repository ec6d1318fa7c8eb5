#!/usr/bin/env bash
# Usage: run.sh <sdl_smoke program> <output directory> [driving script]
# Starts the program on a virtual X server of its own, clicks the button,
# types into the echo control, checks what the program saw and what the
# screen shows in both looks, and leaves screen.png (visual style) and
# screen-classic.png (no styles) in the output directory.
set -euo pipefail
program=$1
out=$2
for tool in xvfb-run xauth xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "missing $tool: skipped"; exit 77; }
done
mkdir -p "$out"
rm -f "$out"/ready "$out"/state "$out"/quit "$out"/classic "$out"/screen.png "$out"/screen-classic.png "$out"/program.log
here=$(cd "$(dirname "$0")" && pwd)
# xvfb-run tears its server down when the inner script ends; timeout ends
# the whole run if anything in it hangs.
exec timeout --kill-after=10 120 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  bash "$here/${3:-drive.sh}" "$program" "$out"

#!/usr/bin/env bash
# Usage: run.sh <skin_smoke program> <output directory>
# Starts the program on a virtual X server of its own, opens the skinned
# main menu over the tool bar, checks the skin's colours on screen and
# leaves screen.png in the output directory.
set -euo pipefail
program=$1
out=$2
for tool in xvfb-run xauth xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "missing $tool: skipped"; exit 77; }
done
mkdir -p "$out"
rm -f "$out"/ready "$out"/quit "$out"/screen.png "$out"/program.log
here=$(cd "$(dirname "$0")" && pwd)
exec timeout --kill-after=10 120 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  bash "$here/drive.sh" "$program" "$out"

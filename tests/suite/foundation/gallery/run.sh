#!/usr/bin/env bash
# Usage: run.sh <painter_gallery program> <output directory>
# Shows the painter gallery on a virtual X server of its own, checks that
# the screen shows the picture the program wrote, and leaves screen.png.
set -euo pipefail
program=$1
out=$2
for tool in xvfb-run xauth import convert; do
  command -v "$tool" >/dev/null || { echo "missing $tool: skipped"; exit 77; }
done
mkdir -p "$out"
rm -f "$out"/ready "$out"/quit "$out"/screen.png "$out"/program.log
here=$(cd "$(dirname "$0")" && pwd)
exec timeout --kill-after=10 120 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  bash "$here/drive.sh" "$program" "$out"

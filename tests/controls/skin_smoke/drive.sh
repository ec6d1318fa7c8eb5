#!/usr/bin/env bash
# The part of run.sh that runs inside the virtual X server.
set -euo pipefail
program=$1
out=$2

source "$(cd "$(dirname "$0")" && pwd)/../../support/XSmoke.sh"
smoke_start --show-file ready "$program" "$out"
wait_for 20 test -f "$out/ready" || fail "the program did not come up"
read -r _ fx fy < <(grep '^file' "$out/ready")
read -r _ il it ir ib < <(grep '^item' "$out/ready")
read -r _ bx by < <(grep '^bar' "$out/ready")
iconfill=$(grep '^iconfill' "$out/ready" | cut -d' ' -f2)
selectfill=$(grep '^selectfill' "$out/ready" | cut -d' ' -f2)
barface=$(grep '^barface' "$out/ready" | cut -d' ' -f2)
wait_for 10 find_window || fail "no X window of class '$(basename "$program")'"

shot_pixel() {  # colour of screen.png at x y as "r,g,b"
  convert "$out/screen.png" -format "%[fx:int(255*p{$1,$2}.r+0.5)],%[fx:int(255*p{$1,$2}.g+0.5)],%[fx:int(255*p{$1,$2}.b+0.5)]" info:
}

sleep 0.5
xdotool mousemove --sync "$fx" "$fy" click 1
sleep 1
smoke_shot screen.png

# The open drop-down: its icon column in the skin's IconFill, 3 pixels of
# frame from the item's left edge. The bar item is selected in SelectFill.
# The tool bar beside the menu keeps its lightened face.
[ "$(shot_pixel "$((il + 8))" "$((ib + 12))")" = "$iconfill" ] || fail "no icon column under the open menu: $(shot_pixel "$((il + 8))" "$((ib + 12))") not $iconfill"
[ "$(shot_pixel "$((il + 4))" "$((it + 6))")" = "$selectfill" ] || fail "bar item not selected: $(shot_pixel "$((il + 4))" "$((it + 6))") not $selectfill"
[ "$(shot_pixel "$bx" "$by")" = "$barface" ] || fail "tool bar not skinned: $(shot_pixel "$bx" "$by") not $barface"

xdotool key Escape
smoke_end
echo "skin smoke passed; screenshot: $out/screen.png"

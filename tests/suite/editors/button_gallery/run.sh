#!/usr/bin/env bash
# Usage: run.sh <button_gallery program> <output directory>
# Shows the button form on a virtual X server of its own, checks that the
# screen shows the face colour, the glyph and the tree's node image the
# program drew, clicks a tree node and sees it highlighted, clicks a check
# box and a radio button and sees them checked, and leaves screen.png.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../support/XSmoke.sh"
smoke_run "$1" "$2" "$here/drive.sh" xdotool

#!/usr/bin/env bash
# Usage: run.sh <text_gallery program> <output directory>
# Shows the text editor form on a virtual X server of its own, checks that
# the screen shows the editors' texts where the program drew them, clicks
# into the lookup editor, types the start of an item and sees the completion
# selected, and leaves screen.png.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../support/XSmoke.sh"
smoke_run "$1" "$2" "$here/drive.sh" xdotool

#!/usr/bin/env bash
# Usage: run.sh <painter_gallery program> <output directory>
# Shows the painter gallery on a virtual X server of its own, checks that
# the screen shows the picture the program wrote, and leaves screen.png.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../support/XSmoke.sh"
smoke_run "$1" "$2" "$here/drive.sh"

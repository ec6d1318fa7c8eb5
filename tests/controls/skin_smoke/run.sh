#!/usr/bin/env bash
# Usage: run.sh <skin_smoke program> <output directory>
# Starts the program on a virtual X server of its own, opens the skinned
# main menu over the tool bar, checks the skin's colours on screen and
# leaves screen.png in the output directory.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../support/XSmoke.sh"
smoke_run "$1" "$2" "$here/drive.sh" xdotool

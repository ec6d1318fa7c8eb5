#!/usr/bin/env bash
# Usage: run.sh <sdl_smoke program> <output directory> [driving script]
# Starts the program on a virtual X server of its own, clicks the button,
# types into the echo control, checks what the program saw and what the
# screen shows in both looks, and leaves screen.png (visual style) and
# screen-classic.png (no styles) in the output directory.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../support/XSmoke.sh"
smoke_run "$1" "$2" "$here/${3:-drive.sh}" xdotool

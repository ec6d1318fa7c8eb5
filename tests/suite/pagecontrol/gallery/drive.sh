#!/usr/bin/env bash
# The part of run.sh that runs inside the virtual X server.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../support/XSmoke.sh"
smoke_start --show-file ready "$1" "$2" --show
wait_for 30 test -f "$2/ready" || fail "the program did not come up"
read -r _ px py colour < <(grep '^page' "$2/ready")
# Where the first page's edit was, the second page shows its background.
wait_for 10 test "$(pixel "$px" "$py")" = "$colour" || fail "page not on screen: $(pixel "$px" "$py"), wanted $colour"
smoke_shot screen.png
smoke_end
echo "page control smoke passed; screenshot: $2/screen.png"

#!/usr/bin/env bash
# Times the board editor from outside the program: "glimmerly.exe --board"
# started until its window over the virtual screen maps, and Escape typed
# with xdotool until the process has saved, baked and ended; a page of 20
# notes at 1920 x 1080, median of 10 runs by default.
#   bench/board_open.sh [runs]
# Runs on a virtual display of its own, in its own Wine prefix
# (build/win/bench-prefix), whose board it replaces.
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

glimmerly_bench_setup glimmerly
python3 "$GLIMMERLY_ROOT/bench/board_open.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-10}"

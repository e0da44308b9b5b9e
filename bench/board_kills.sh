#!/usr/bin/env bash
# Kills the board's bake ("--board-bake") and restore ("--restore-wallpaper")
# at random moments, each followed by what the program does next, and counts
# the runs in which the user's picture, style, tile flag and their record in
# "base.txt" all came back (tests/tools/board_kill_runs.cpp).
# With "first", every run is the board's first bake, killed, then "Show
# board" off.
#   bench/board_kills.sh [runs] [seed] [first]
# Runs on a virtual display of its own, in its own Wine prefix
# (build/win/bench-prefix), whose desktop and board it replaces.
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

glimmerly_bench_setup glimmerly board_kill_runs
"$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" "$GLIMMERLY_ROOT/build/win/tests/board_kill_runs.exe" \
    "${1:-50}" "${2:-1}" ${3:+"$3"}

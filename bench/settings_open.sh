#!/usr/bin/env bash
# Times the settings window from outside the program: command 170 posted to
# the running resident (as the tray menu's "Settings" posts it) until the
# window maps on the X display, median of 10 runs by default; the window is
# closed between runs. Then the in-process figures of settings_bench.exe.
#   bench/settings_open.sh [runs]
# Runs on a virtual display of its own, in its own Wine prefix
# (build/win/bench-prefix).
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

glimmerly_bench_setup glimmerly settings_bench
python3 "$GLIMMERLY_ROOT/bench/settings_open.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-10}"
"$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" "$GLIMMERLY_ROOT/build/win/bench/windows/settings_bench.exe"

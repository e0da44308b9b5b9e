#!/usr/bin/env bash
# Times the capture shortcut from outside the program: Print Screen typed on
# the X display with xdotool until the editor's window maps, with a prepared
# editor child and with a cold one, 20 runs each at 1920 x 1080 (median);
# then the same cold start and the idle memory (anonymous, as the host counts
# it) of bench/windows/resident_standin, the smallest tray-and-hotkey program
# that starts a child on the key, printed beside the program's.
# With a second number, that many busy processes (one core each) run beside
# the timed captures, the program's and the stand-in's alike; the medians
# and the 95th percentiles are printed.
#   bench/capture_start.sh [runs] [busy processes]
# Builds the program, bench/windows/capture_bench_helper and the stand-in first; runs on a
# virtual display of its own, in its own Wine prefix (build/win/bench-prefix).
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

glimmerly_bench_setup glimmerly capture_bench_helper resident_standin
python3 "$GLIMMERLY_ROOT/bench/capture_start.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-20}" "${2:-0}"

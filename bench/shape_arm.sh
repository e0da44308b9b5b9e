#!/usr/bin/env bash
# Times a temporary shape's shortcut from outside the program: Alt+R typed
# with xdotool over Notepad on a virtual 1920 x 1080 display until the
# shapes layer takes the display's input focus, with the pointer effects
# (halo, click ripples, a spotlight waiting for its key) on and off in turn,
# 30 tries each by default (median and 95th percentile), and how many of the
# shapes dragged 0.3 s after the shortcut were drawn. With a second number,
# that many busy processes (one core each) run beside the tries.
#   bench/shape_arm.sh [tries] [busy processes]
# Builds the program and bench/windows/shape_arm_helper first; runs on a
# virtual display of its own, in its own Wine prefix (build/win/bench-prefix).
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

glimmerly_bench_setup glimmerly shape_arm_helper
python3 "$GLIMMERLY_ROOT/bench/shape_arm.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-30}" "${2:-0}"

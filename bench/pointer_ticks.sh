#!/usr/bin/env bash
# Logs presentation mode's frame ticks over a minute (or the seconds given)
# of circles drawn with xdotool on a virtual 1920 x 1080 display, with the
# pointer effects on (a long line trail and waves).
#   bench/pointer_ticks.sh [seconds]
# Builds bench/windows/pointer_bench first; runs in its own Wine prefix.
set -uo pipefail
source "$(dirname "$0")/../scripts/setup-common.sh"

seconds="${1:-60}"
glimmerly_build_windows pointer_bench || exit 1
prefix="$GLIMMERLY_ROOT/build/win/bench-prefix"
mkdir -p "$prefix"
glimmerly_start_xvfb || exit 1
trap 'kill $circles 2>/dev/null; WINEPREFIX="$prefix" wineserver -k 2>/dev/null; glimmerly_stop_xvfb' EXIT
glimmerly_wine_prefix "$prefix"

# X reports motion to Wine only over a Wine window: the pointer circles
# over a window of notepad that covers the display.
"$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" notepad >/dev/null 2>&1 &
sleep 3
xdotool search --sync --class notepad windowsize %@ 1920 1080 windowmove %@ 0 0 >/dev/null 2>&1
python3 - "$seconds" <<'PY' &
import math, subprocess, sys, time
end = time.time() + float(sys.argv[1]) + 5
angle = 0.0
while time.time() < end:
    x, y = 960 + 300 * math.cos(angle), 540 + 300 * math.sin(angle)
    subprocess.run(["xdotool", "mousemove", str(int(x)), str(int(y))])
    angle += 0.15
    time.sleep(0.008)
PY
circles=$!
"$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" "$GLIMMERLY_ROOT/build/win/bench/windows/pointer_bench.exe" ticks "$seconds"

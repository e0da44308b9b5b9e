#!/usr/bin/env bash
# Times the capture shortcut from outside the program: Print Screen typed on
# the X display with xdotool until the editor's window maps, with a prepared
# editor child and with a cold one, 20 runs each at 1920 x 1080 (median);
# then the same cold start and the idle memory (anonymous, as the host counts
# it) of bench/windows/resident_standin, the smallest tray-and-hotkey program
# that starts a child on the key, printed beside the program's.
#   bench/capture_start.sh [runs]
# Builds the program, bench/windows/capture_bench_helper and the stand-in first; runs on a
# virtual display of its own, in its own Wine prefix (build/win/bench-prefix).
set -uo pipefail
source "$(dirname "$0")/../scripts/setup-common.sh"

glimmerly_install_packages || exit 1
glimmerly_build_windows glimmerly capture_bench_helper resident_standin || exit 1

prefix="$GLIMMERLY_ROOT/build/win/bench-prefix"
mkdir -p "$prefix"
glimmerly_start_xvfb || exit 1
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null; glimmerly_stop_xvfb' EXIT
glimmerly_wine_prefix "$prefix"
# Without it Wine hides a full-screen window only after two seconds, as it
# waits for a window manager that is not there.
"$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
python3 "$GLIMMERLY_ROOT/bench/capture_start.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-20}"

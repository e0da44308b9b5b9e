#!/usr/bin/env bash
# Times the board editor from outside the program: "glimmerly.exe --board"
# started until its window over the virtual screen maps, and Escape typed
# with xdotool until the process has saved, baked and ended; a page of 20
# notes at 1920 x 1080, median of 10 runs by default.
#   bench/board_open.sh [runs]
# Runs on a virtual display of its own, in its own Wine prefix
# (build/win/bench-prefix), whose board it replaces.
set -uo pipefail
source "$(dirname "$0")/../scripts/setup-common.sh"

glimmerly_install_packages || exit 1
glimmerly_build_windows glimmerly || exit 1

prefix="$GLIMMERLY_ROOT/build/win/bench-prefix"
mkdir -p "$prefix"
glimmerly_start_xvfb || exit 1
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null; glimmerly_stop_xvfb' EXIT
glimmerly_wine_prefix "$prefix"
"$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
python3 "$GLIMMERLY_ROOT/bench/board_open.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-10}"

#!/usr/bin/env bash
# Times the settings window from outside the program: command 170 posted to
# the running resident (as the tray menu's "Settings" posts it) until the
# window maps on the X display, median of 10 runs by default; the window is
# closed between runs. Then the in-process figures of settings_bench.exe.
#   bench/settings_open.sh [runs]
# Runs on a virtual display of its own, in its own Wine prefix
# (build/win/bench-prefix).
set -uo pipefail
source "$(dirname "$0")/../scripts/setup-common.sh"

glimmerly_install_packages || exit 1
glimmerly_build_windows glimmerly settings_bench || exit 1

prefix="$GLIMMERLY_ROOT/build/win/bench-prefix"
mkdir -p "$prefix"
glimmerly_start_xvfb || exit 1
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null; glimmerly_stop_xvfb' EXIT
glimmerly_wine_prefix "$prefix"
"$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
python3 "$GLIMMERLY_ROOT/bench/settings_open.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-10}"
"$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" "$GLIMMERLY_ROOT/build/win/bench/windows/settings_bench.exe"

#!/usr/bin/env bash
# Times a first start from outside the program: the process started with no
# settings until its setup window maps, and the click on Save until the
# window goes, 10 runs each at 1920 x 1080 (median).
#   bench/first_start.sh [runs]
# Runs on a virtual display of its own, in its own Wine prefix (build/win/bench-prefix).
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
python3 "$GLIMMERLY_ROOT/bench/first_start.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-10}"

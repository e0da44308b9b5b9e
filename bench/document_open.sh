#!/usr/bin/env bash
# Times opening an editable document from outside the program: a 1920 x 1080
# document named on the command line, from the process's start until the
# editor's window maps on the X display, 10 runs (median).
#   bench/document_open.sh [runs]
# Builds the program and bench/windows/document_bench_helper first; runs on a
# virtual display of its own, in its own Wine prefix (build/win/bench-prefix).
set -uo pipefail
source "$(dirname "$0")/../scripts/setup-common.sh"

glimmerly_install_packages || exit 1
glimmerly_build_windows glimmerly document_bench_helper || exit 1

prefix="$GLIMMERLY_ROOT/build/win/bench-prefix"
mkdir -p "$prefix"
glimmerly_start_xvfb || exit 1
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null; glimmerly_stop_xvfb' EXIT
glimmerly_wine_prefix "$prefix"
"$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
python3 "$GLIMMERLY_ROOT/bench/document_open.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-10}"

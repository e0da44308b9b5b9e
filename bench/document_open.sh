#!/usr/bin/env bash
# Times opening an editable document from outside the program: a 1920 x 1080
# document named on the command line, from the process's start until the
# editor's window maps on the X display, 10 runs (median).
#   bench/document_open.sh [runs]
# Builds the program and bench/windows/document_bench_helper first; runs on a
# virtual display of its own, in its own Wine prefix (build/win/bench-prefix).
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

glimmerly_bench_setup glimmerly document_bench_helper
python3 "$GLIMMERLY_ROOT/bench/document_open.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-10}"

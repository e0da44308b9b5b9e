#!/usr/bin/env bash
# Times a first start from outside the program: the process started with no
# settings until its setup window maps, and the click on Save until the
# window goes, 10 runs each at 1920 x 1080 (median).
#   bench/first_start.sh [runs]
# Runs on a virtual display of its own, in its own Wine prefix (build/win/bench-prefix).
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

glimmerly_bench_setup glimmerly
python3 "$GLIMMERLY_ROOT/bench/first_start.py" "$GLIMMERLY_ROOT" "$prefix" "${1:-10}"

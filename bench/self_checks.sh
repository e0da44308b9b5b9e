#!/usr/bin/env bash
# Runs the program's timing self-checks once each, as CI runs them, and prints
# their figures: the capture and first-frame medians of "--diagnostic" with
# its wall time, and the warm editors' request-to-paint medians; then the wall
# times of "--presentation-diagnostic" and of the board dry run on the
# 1920 x 1080 display (each meant to stay under 10 s), and how long the loupe
# diagnostic takes to fail under Wine (it cannot pass there).
#   bench/self_checks.sh
# Builds the program first; runs on a virtual display of its own, in its own
# Wine prefix (build/win/bench-prefix), from a scratch folder with "target".
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

glimmerly_bench_setup glimmerly
work=$(mktemp -d)
bench_cleanup='rm -rf "$work"'
mkdir -p "$work/target"
cd "$work" || exit 1

run() {
    local started
    started=$(date +%s%N)
    timeout 300 "$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" "$GLIMMERLY_ROOT/build/win/glimmerly.exe" "$1" 2>"$work/$1.err"
    echo "$1: exit $?, $(( ($(date +%s%N) - started) / 1000000 )) ms wall, $(cat "$work/$1.err")"
}
run --diagnostic
run --warm-diagnostic
run --presentation-diagnostic
run --board-diagnostic
run --loupe-diagnostic
python3 - "$work/target" <<'PY'
import json, statistics, sys
folder = sys.argv[1]
startup = json.load(open(f"{folder}/diagnostics.json"))
for name in ("capture_ms", "capture_and_editor_init_ms", "first_frame_ms", "hardware_frame_ms", "worker_lifetime_ms"):
    print(f"{name}: median {statistics.median(startup[name]):.1f} of {startup[name]}")
warm = json.load(open(f"{folder}/warm-editor-diagnostics.json"))
for mode, figures in warm.items():
    times = figures["request_to_paint_gdi_flush_ms"]
    print(f"{mode} request_to_paint_gdi_flush_ms: median {statistics.median(times):.1f} of {times}")
PY

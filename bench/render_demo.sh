#!/usr/bin/env bash
# Times "--render-demo" from outside the program: the wall time of the whole
# process (Wine's start included), then each picture as the time between its
# file's modification and the one written before it (the first picture from
# the process start), the three slowest first.
#   bench/render_demo.sh [runs]
# Builds the program first; runs on a virtual display of its own, in its own
# Wine prefix (build/win/bench-prefix), from a scratch folder with "target".
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

runs="${1:-3}"
glimmerly_bench_setup glimmerly
work=$(mktemp -d)
bench_cleanup='rm -rf "$work"'
cd "$work" || exit 1

for run in $(seq 1 "$runs"); do
    rm -rf target && mkdir target
    started=$(date +%s%N)
    timeout 300 "$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" "$GLIMMERLY_ROOT/build/win/glimmerly.exe" --render-demo 2>"$work/err"
    code=$?
    ended=$(date +%s%N)
    echo "run $run: exit $code, $(( (ended - started) / 1000000 )) ms wall $(cat "$work/err")"
    previous=$started
    # Modification times in nanoseconds, oldest first: the order written.
    find target -name '*.png' -printf '%T@ %f\n' | sort -n | while read -r stamp name; do
        ns=$(printf '%.0f' "$(echo "$stamp * 1000000000" | bc)")
        echo "$(( (ns - previous) / 1000000 )) $name"
        previous=$ns
    done | sort -rn | head -3 | sed 's/^/  slowest: /; s/ glimmerly/ ms glimmerly/'
done

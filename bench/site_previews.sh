#!/usr/bin/env bash
# Times "--render-site-previews" from outside the program: the wall time of
# the whole process (Wine's start included), and for each film folder its
# frames per second, from the modification times of its first and last
# frames. Over "capture-frames" that is the film frame writer's own rate at
# 1100 x 680 (render, copy, PNG save): the scripted input between frames
# costs next to nothing beside it.
#   bench/site_previews.sh [runs]
# Builds the program first; runs on a virtual display of its own, in its own
# Wine prefix (build/win/bench-prefix), on synthetic desktop pictures.
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

runs="${1:-1}"
glimmerly_bench_setup glimmerly
work=$(mktemp -d)
bench_cleanup='rm -rf "$work"'
cd "$work" || exit 1
mkdir in
python3 "$GLIMMERLY_ROOT/bench/site_preview_inputs.py" in || exit 1

for run in $(seq 1 "$runs"); do
    rm -rf out && mkdir out
    started=$(date +%s%N)
    timeout 1200 "$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" "$GLIMMERLY_ROOT/build/win/glimmerly.exe" \
        --render-site-previews in out 2>"$work/err"
    code=$?
    ended=$(date +%s%N)
    echo "run $run: exit $code, $(( (ended - started) / 1000000 )) ms wall $(cat "$work/err")"
    for film in out/*-frames; do
        [ -d "$film" ] || continue
        count=$(find "$film" -name '[0-9]*.png' | wc -l)
        [ "$count" -gt 1 ] || continue
        first=$(stat -c %.9Y "$film/000.png")
        last=$(find "$film" -name '[0-9]*.png' -printf '%T@\n' | sort -n | tail -1)
        echo "  $(basename "$film"): $count frames, $(echo "scale=1; ($count - 1) / ($last - $first)" | bc) frames/s"
    done
done

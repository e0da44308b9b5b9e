#!/usr/bin/env bash
# Times from outside the program how soon it refuses what it cannot use: for
# each case the wall time of the whole process (Wine's start included), its
# peak resident size as the host counts it, its exit code and its message,
# then the medians. The cases: "--render-site-previews" with the presentation
# picture or the board wallpaper missing, or a BMP claiming 16384 x 16384 in
# its place (each refused before the first output is written); an editor
# child ("--prepared-editor") whose owner is 0, -1, empty, " 1" or a number
# that is no window (each refused before its renderer is made).
#   bench/refusals.sh [runs]
# Builds the program first; runs on a virtual display of its own, in its own
# Wine prefix (build/win/bench-prefix), on synthetic desktop pictures.
set -uo pipefail
source "$(dirname "$0")/bench-setup.sh"

runs="${1:-5}"
glimmerly_bench_setup glimmerly
work=$(mktemp -d)
bench_cleanup='rm -rf "$work"'
cd "$work" || exit 1
mkdir good
python3 "$GLIMMERLY_ROOT/bench/site_preview_inputs.py" good || exit 1
# A BMP's headers claiming 16384 x 16384 at 24 bits, and its first row.
python3 - bmp <<'PY'
import struct, sys
side = 16384
header = b"BM" + struct.pack("<IHHI", 54 + side * side * 3, 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 24, 0, 0, 0, 0, 0, 0)
open(sys.argv[1], "wb").write(header + info + bytes(side * 3))
PY
# inputs FOLDER FILE missing|bmp: the good inputs with FILE left out or replaced.
inputs() {
    rm -rf "$1" && cp -r good "$1"
    if [ "$3" = missing ]; then rm "$1/$2"; else cp bmp "$1/$2"; fi
}

# time_runs NAME ARGUMENTS...: the program run [runs] times with the arguments.
time_runs() {
    local name="$1" i started code walls="" peaks=""
    shift
    for i in $(seq 1 "$runs"); do
        rm -rf out && mkdir out
        started=$(date +%s%N)
        /usr/bin/time -f %M -o "$work/peak" timeout 1200 "$GLIMMERLY_ROOT/scripts/wine-exec" "$prefix" \
            "$GLIMMERLY_ROOT/build/win/glimmerly.exe" "$@" 2>"$work/err"
        code=$?
        walls="$walls $(( ($(date +%s%N) - started) / 1000000 ))"
        peaks="$peaks $(( $(tail -n 1 "$work/peak") / 1024 ))"
        echo "$name, run $i: exit $code, $(find out -mindepth 1 | wc -l) outputs, $(head -c 200 "$work/err")"
    done
    python3 - "$name" "$walls" "$peaks" <<'PY'
import statistics, sys
walls, peaks = ([int(v) for v in s.split()] for s in sys.argv[2:4])
print(f"{sys.argv[1]}: median {statistics.median(walls)} ms wall of {walls}, "
      f"median peak {statistics.median(peaks)} MiB of {peaks}")
PY
}

for file in desktop-presentation.png desktop-board-wallpaper.png; do
    for spoil in missing bmp; do
        inputs "in-$spoil" "$file" "$spoil"
        time_runs "site previews, $file $spoil" --render-site-previews "in-$spoil" out
    done
done
for owner in 0 -1 "" " 1" 65535; do
    time_runs "editor child, owner \"$owner\"" --prepared-editor "--notification-owner=$owner"
done

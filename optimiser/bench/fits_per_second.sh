#!/usr/bin/env bash
# Fits every input file of a folder, as many at once as the machine has cores, each with a
# listing and a summary of its own beside it, and prints the fits per second.
#   optimiser/bench/fits_per_second.sh <optimiser program> <folder> [copies]
# The folder's files are copied (each `copies` times, default 1) into a scratch directory
# first, so that the folder itself is left as it was.
set -euo pipefail
program=$(realpath "$1")
source=$2
copies=${3:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for f in "$source"/*; do
    [ -f "$f" ] || continue
    case "$f" in *.cpp) continue ;; esac
    for ((c = 1; c <= copies; c++)); do
        cp "$f" "$work/$(basename "$f" | tr . _)-$c.1"
        chmod u+w "$work/$(basename "$f" | tr . _)-$c.1"
    done
done
count=$(find "$work" -maxdepth 1 -name '*.1' | wc -l)
began=$(date +%s.%N)
# One process per problem, one thread each (--threads 1): the processes fill the cores.
find "$work" -maxdepth 1 -name '*.1' -printf '%f\n' |
    xargs -P "$(nproc)" -I{} "$program" --threads 1 --listing "$work/{}.out" --json "$work/{}.json" \
        {} "$work" "$work" xx xx
ended=$(date +%s.%N)
failed=$(grep -L '"status": "completed"' "$work"/*.json | wc -l)
awk -v n="$count" -v a="$began" -v b="$ended" -v f="$failed" -v p="$(nproc)" \
    'BEGIN { printf "%d fits on %d cores in %.2f s: %.0f fits per second (%d failed)\n", n, p, b - a, n / (b - a), f }'

#!/usr/bin/env bash
# Fits the seven example problems with the optimiser, then saves every plot of each result as
# the plot window shows it at 640 x 440, its designed size and 2560 x 1600 (and the window's
# pages once per size), so that the texts of every plot can be looked at for cuts and overlaps.
#   tools/screenshots-plot-sizes.sh [output folder] [build folder]
# Needs xvfb-run for a real X display (fonts and styles as on a desktop).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/build-shots/plot-sizes}"
build="${2:-$root/build-forms}"

if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
ninja -C "$build" -j2 optimiser plots_resize_shots

family="$(mktemp -d)"
trap 'rm -rf "$family"' EXIT
user="$family/Veltr.hz/User"
mkdir -p "$user"
results=()
for example in "$root"/optimiser/examples/Ex-*; do
    name="$(basename "$example")"
    cp "$example" "$user/" && chmod u+w "$user/$name"
    "$build/optimiser/optimiser" "$name" "$user" "$family" "${family:0:2}" "${name:0:2}" >/dev/null
    lower="$(echo "$name" | tr 'A-Z.' 'a-z_')"
    results+=("$user/$lower.dat")
done

mkdir -p "$out"
export QT_SCALE_FACTOR=1 QT_FONT_DPI=96
xvfb-run -a -s "-screen 0 2600x1700x24 -dpi 96" \
    env QT_QPA_PLATFORM=xcb "$build/plots/form/tools/plots_resize_shots" "$out" "${results[@]}"
ls -1 "$out"/*.png | wc -l

#!/usr/bin/env bash
# Saves pictures of veltra's main form (every tab) at its designed size, at 1.5 times it and at
# a small size, and of the plot window (every page, and every plot of a sample run) at
# 640 x 440, its designed size and 2560 x 1600, so that the proportional resizing can be
# looked at.
#   tools/screenshots-resizing.sh [output folder] [build folder]
# Needs xvfb-run for a real X display (fonts and styles as on a desktop).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/build-shots/resizing}"
build="${2:-$root/build-forms}"

if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
ninja -C "$build" -j2 veltra_resize_shots plots_resize_shots

mkdir -p "$out"
export QT_SCALE_FACTOR=1 QT_FONT_DPI=96
for tool in veltra/forms/tools/veltra_resize_shots plots/form/tools/plots_resize_shots; do
    xvfb-run -a -s "-screen 0 2600x1700x24 -dpi 96" env QT_QPA_PLATFORM=xcb "$build/$tool" "$out"
done
ls -1 "$out"/*.png

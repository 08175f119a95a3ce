#!/usr/bin/env bash
# Builds the plot window's screenshot program and saves one PNG per page of frmPlots: the
# Setup page before a run, then the Output page and each plot of a run over a sample file,
# and the printed page of the second plot (PDF, shown as PNG).
#   tools/screenshots-plots.sh [output folder] [build folder] [result file]
# Needs xvfb-run for a real X display (fonts and styles as on a desktop).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/build-shots/plots}"
build="${2:-$root/build-forms}"

if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
ninja -C "$build" -j2 plots_form_shots

mkdir -p "$out"
export QT_SCALE_FACTOR=1 QT_FONT_DPI=96
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    env QT_QPA_PLATFORM=xcb "$build/plots/form/tools/plots_form_shots" "$out" ${3:+"$3"}
pdftoppm -r 50 -png -singlefile "$out/4-print.pdf" "$out/4-print"
ls -1 "$out"/*.png

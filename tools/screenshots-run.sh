#!/usr/bin/env bash
# Pictures of a run under xvfb-run: the Run tab and its View menu, the progress window while
# a stand-in optimiser writes its listing, the text viewer list with a found word, and the
# messages of a refused grid cell and of a Submit while another run goes on.
#   tools/screenshots-run.sh [output folder] [build folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/build-shots/run}"
build="${2:-$root/build}"
if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
ninja -C "$build" -j2 veltra_run_shots
mkdir -p "$out"
export QT_SCALE_FACTOR=1 QT_FONT_DPI=96
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    env QT_QPA_PLATFORM=xcb "$build/veltra/shell/tools/veltra_run_shots" "$out"
ls -1 "$out"/*.png

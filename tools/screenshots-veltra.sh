#!/usr/bin/env bash
# Builds the main form's screenshot programs and saves one PNG per tab of frmMain, first with
# the start values and then with a filled problem, then the first start: the intro form, the
# main form in demo mode, the About box and the manual window, so the layout can be looked at.
#   tools/screenshots-veltra.sh [output folder] [build folder]
# Needs xvfb-run for a real X display (fonts and styles as on a desktop).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/build-shots/veltra}"
build="${2:-$root/build-forms}"

if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
ninja -C "$build" -j2 veltra_form_shots veltra_demo_shots manual

mkdir -p "$out"
export QT_SCALE_FACTOR=1 QT_FONT_DPI=96
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    env QT_QPA_PLATFORM=xcb "$build/veltra/forms/tools/veltra_form_shots" "$out"
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    env QT_QPA_PLATFORM=xcb "$build/veltra/shell/tools/veltra_demo_shots" "$out" \
    "$build/docs/manual.html"
ls -1 "$out"/*.png

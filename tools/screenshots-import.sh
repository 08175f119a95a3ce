#!/usr/bin/env bash
# Pictures of the import dialog (a Touchstone file and a text table), the pass-band grid after
# an import, a refused paste with its message, and the manual window at the chapter on
# importing, finding a word.   screenshots-import.sh [build-dir] [out-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out=${2:-$top/build/screenshots/import}
mkdir -p "$out"
cmake --build "$build" --target veltra_import_shots manual
export QT_SCALE_FACTOR=1 QT_FONT_DPI=96
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    env QT_QPA_PLATFORM=xcb "$build/veltra/shell/tools/veltra_import_shots" "$out" \
    "$build/docs/manual.html"
ls -1 "$out"/*.png

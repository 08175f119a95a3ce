#!/usr/bin/env bash
# Draws every plot of a model -2 run (both sequences: with sidelobe and ripple, and with
# h(t)), of a model 0 run and of the model -2 run in black and white, each plot saved as a
# PNG, so that the plots can be looked at side by side.
#   tools/screenshots-plot-sequence.sh [output folder] [build folder] [width height]
# Needs xvfb-run for a real X display (fonts as on a desktop).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/build-shots/plots}"
build="${2:-$root/build-forms}"
width="${3:-760}"
height="${4:-540}"
samples="$root/plots/engine/tools/samples"

if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
if ! ninja -C "$build" -j2 plot_shots; then
    echo "plot_shots is built by plots/engine/tools (add_subdirectory(tools) in plots/engine)" >&2
    exit 1
fi

mkdir -p "$out"
export QT_SCALE_FACTOR=1 QT_FONT_DPI=96
shots() {
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
        env QT_QPA_PLATFORM=xcb "$build/plots/engine/tools/plot_shots" "$@"
}
shots "$samples/design_m2_delay.dat" "$out" m2-delay "$width" "$height"
shots "$samples/design_m2_ht.dat" "$out" m2-ht "$width" "$height"
shots "$samples/ode_model0.dat" "$out" m0 "$width" "$height"
shots "$samples/design_m2_delay.dat" "$out" m2-bw "$width" "$height" bw

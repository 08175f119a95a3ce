#!/usr/bin/env bash
# Builds the suite, lays out a family directory and starts veltra in it.
#   FAMILY=<dir> (default ./family) is the installation, exported as Quillon.
#   VELTRANA_INSTALL_ONLY=1 stops once the family directory is laid out, without starting.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/deps.sh"
build="$top/build-release"
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=$top
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$top" -B "$build" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release -DVELTRANA_BENCH=OFF >/dev/null
cmake --build "$build" --target suite
# Absolute, since veltra changes into its User folder before it starts the other programs.
family=$(realpath -m "${FAMILY:-$top/family}")
"$top/tools/install-family.sh" "$build" "$family"
if [ "${VELTRANA_INSTALL_ONLY:-0}" = 1 ]; then
    echo "installed in $family"
    exit 0
fi
# The programs in the desktop's menus, and listings (".out" in any case) opened with the viewer.
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
mkdir -p "$data_home/applications" "$data_home/mime/packages"
cp "$family"/desktop/*.desktop "$data_home/applications/"
cp "$family/desktop/veltrana-listing.xml" "$data_home/mime/packages/"
command -v update-mime-database >/dev/null && update-mime-database "$data_home/mime" || true
command -v update-desktop-database >/dev/null &&
    update-desktop-database "$data_home/applications" || true
echo "note: desktop entries for veltra, plots and list copied into $data_home/applications"
export Quillon="$family"
exec "$family/Veltr.hz/veltra"

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
family=${FAMILY:-$top/family}
"$top/tools/install-family.sh" "$build" "$family"
if [ "${VELTRANA_INSTALL_ONLY:-0}" = 1 ]; then
    echo "installed in $family"
    exit 0
fi
export Quillon="$family"
exec "$family/Veltr.hz/veltra"

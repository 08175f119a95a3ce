#!/usr/bin/env bash
# Builds the suite, lays out a family directory and starts veltra in it.
#   FAMILY=<dir> (default ./family) is the installation, exported as Quillon.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/deps.sh"
cmake -S "$top" -B "$top/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANA_BENCH=OFF >/dev/null
cmake --build "$top/build-release" --target suite
family=${FAMILY:-$top/family}
"$top/tools/install-family.sh" "$top/build-release" "$family"
export Quillon="$family"
exec "$family/Veltr.hz/veltra"

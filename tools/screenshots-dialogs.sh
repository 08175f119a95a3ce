#!/usr/bin/env bash
# Pictures of veltra's file dialogs and prompts, taken while a test opens, edits, saves and
# reopens an input file through them.   screenshots-dialogs.sh [build-dir] [out-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
out=${2:-$top/build/screenshots/dialogs}
mkdir -p "$out"
cmake --build "$build" --target tst_veltra_shell
VELTRANA_SHOTS="$out" xvfb-run -a "$build/veltra/shell/tst_veltra_shell" --gtest_filter='RealDialogs.*'
echo "pictures in $out"

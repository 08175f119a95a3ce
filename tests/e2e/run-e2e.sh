#!/usr/bin/env bash
# The suite end to end: installs it into a temporary family directory and runs the test
# program with a virtual X display, on which plots comes up as a real window.
#   run-e2e.sh <test-program> <build-dir>      (E2E_SHOTS=<dir> keeps screenshots)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
program=$1
build=$2
family=$(mktemp -d)
trap 'rm -rf "$family"' EXIT
"$top/tools/install-family.sh" "$build" "$family"
export Quillon=$family E2E_FAMILY=$family VELTRANA_REGISTRY=$family/registry
# A display number of its own: two runs side by side (a build and CI, say) starting at the
# same default number could both take it.
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" \
    env QT_QPA_PLATFORM=offscreen "$program"

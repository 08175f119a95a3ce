#!/usr/bin/env bash
# Lays out a family directory from a build: <family>/Veltr.hz/veltra with its User
# directory, the text viewer <family>/List/list, and <family>/plots and <family>/optimiser
# once they are built.
#   install-family.sh <build-dir> <family-dir>
set -euo pipefail
build=$1
family=$2
mkdir -p "$family/Veltr.hz/User"
install -m 755 "$build/veltra/veltra" "$family/Veltr.hz/veltra"
for program in plots/plots optimiser/optimiser; do
    if [ -x "$build/$program" ]; then
        install -m 755 "$build/$program" "$family/$(basename "$program")"
    fi
done
# The viewer lives in List beside the program directory, where veltra looks for it.
install -D -m 755 "$build/list/list" "$family/List/list"

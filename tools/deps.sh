#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libgl-dev
          googletest libgtest-dev libgmock-dev libbenchmark-dev
          clang libclang-rt-14-dev xvfb xauth x11-utils imagemagick fonts-liberation fonts-dejavu-core
          locales libceres-dev libeigen3-dev poppler-utils python3-scipy ccache git
          shared-mime-info libglib2.0-bin)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
# Number texts are tested under a locale whose decimal separator is a comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

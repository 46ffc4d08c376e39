#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the programs need, when
# any is missing. Safe to run again; does nothing when all are there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev
  qt6-qpa-plugins xvfb xauth x11-utils fonts-dejavu-core dbus
  clang-format imagemagick ccache trayer upower scdoc
  libxcb1-dev libxcb-dpms0-dev libxcb-screensaver0-dev xdotool x11-xserver-utils
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

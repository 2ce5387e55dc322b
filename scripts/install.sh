#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and test.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PKGS=(
  g++ cmake
  qt6-base-dev libqt6opengl6-dev libxkbcommon-dev
  libqt6sql6-sqlite libqt6sql6-psql
  qt6-charts-dev
  libxlsxwriter-dev libfreexl-dev libquazip1-qt6-dev libkainjow-mustache-dev
  fonts-noto-cjk breeze-icon-theme qt6-svg-dev
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

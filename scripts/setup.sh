#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs with apt everything the suite needs to build, run and test on Debian 12.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-multimedia-dev qt6-webengine-dev qt6-svg-dev libgl-dev
  qt6-translations-l10n qt6-charts-dev libsqlite3-dev sqlite3 flite1-dev
  libminizip-dev libexpat1-dev
  nlohmann-json3-dev libcurl4-openssl-dev libcpp-httplib-dev libssl-dev libsodium-dev
  libpq-dev postgresql-15 chromium chromium-driver python3-selenium
  gstreamer1.0-plugins-good fonts-wqy-microhei fonts-dejavu-core
  xvfb xauth xdotool xclip imagemagick python3 tzdata faketime
  librsvg2-bin desktop-file-utils appstream dpkg-dev lintian
  at-spi2-core python3-pyatspi dbus-x11 pulseaudio pulseaudio-utils sox openbox
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

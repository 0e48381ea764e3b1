#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the Debian package: its files and dependencies; then, as root on an X display
# (run it under xvfb-run), installs it with apt, starts both desktop entries' programs,
# and removes it again.
#   check_package.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
fail() { echo "FAILED: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in ./opt/lumadesk/lumadesk ./opt/lumadesk/pickwell ./opt/lumadesk/studyview \
            ./opt/lumadesk/pellimar.exe ./opt/lumadesk/kestavel.exe ./opt/lumadesk/1.wav \
            ./opt/lumadesk/c1.dat ./opt/lumadesk/c4.dat \
            ./usr/share/applications/com.zuvizuz.Lumadesk.desktop \
            ./usr/share/applications/com.zuvizuz.Pickwell.desktop \
            ./usr/share/metainfo/com.zuvizuz.Lumadesk.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/com.zuvizuz.Lumadesk.svg \
            ./usr/share/icons/hicolor/48x48/apps/com.zuvizuz.Lumadesk.png; do
  grep -qxF "$file" <<< "$contents" || fail "the package lacks $file"
done
pass "the package holds the application folder and the desktop files"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6webenginewidgets6 libqt6multimedia6 libqt6widgets6 libqt6svg6 \
              gstreamer1.0-plugins-good fonts-wqy-microhei; do
  grep -q "$needed" <<< "$depends" || fail "Depends lacks $needed: $depends"
done
pass "Depends: $depends"

if [ "$(id -u)" -ne 0 ] || [ -z "${DISPLAY:-}" ]; then
  echo "skipped: installing the package needs root and a display"
  exit 0
fi
apt-get install -y -qq "$deb" > /dev/null
trap 'apt-get remove -y -qq lumadesk > /dev/null' EXIT
pass "apt installs the package"
for entry in com.zuvizuz.Lumadesk com.zuvizuz.Pickwell; do
  desktop=/usr/share/applications/$entry.desktop
  command=$(sed -n 's/^Exec=//p' "$desktop")
  (cd / && exec $command) > /dev/null 2>&1 &
  pid=$!
  window=""
  for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$window" ] || fail "$entry: $command shows no window"
  pass "$entry starts $command"
done

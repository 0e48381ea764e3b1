#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package (application folder under /usr/lib/lumadesk; desktop entries,
# icons, metainfo and documentation under /usr/share) into build/package/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/setup.sh
# Debian's own compiler and linker flags, hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build/package \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DSUITE_ENABLE_BENCHMARKS=OFF -DSUITE_APP_DIR=usr/lib/lumadesk -DSUITE_DATA_DIR=usr/share \
  -DSUITE_INSTALL_DESKTOP_FILES=ON
cmake --build build/package -j2
(cd build/package && cpack > /dev/null)
ls build/package/*.deb

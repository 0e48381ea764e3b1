#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package (application folder under /opt/lumadesk, desktop entries,
# icons and metainfo under /usr/share) into build/package/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/setup.sh
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DSUITE_ENABLE_BENCHMARKS=OFF -DSUITE_APP_DIR=opt/lumadesk -DSUITE_DATA_DIR=usr/share \
  -DSUITE_INSTALL_DESKTOP_FILES=ON
cmake --build build/package -j2
(cd build/package && cpack > /dev/null)
ls build/package/*.deb

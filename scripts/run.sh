#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets up the machine, builds the suite, lays out a ready application folder in appdir/
# and starts a program from it (the menu, lumadesk, unless another is named), under a
# virtual display when there is no display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
program=${1:-lumadesk}

scripts/setup.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DSUITE_ENABLE_BENCHMARKS=OFF
cmake --build build/run -j2
cmake --install build/run --prefix "$root/appdir"

echo "Starting $program from $root/appdir"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/appdir/$program"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$root/appdir/$program"
fi

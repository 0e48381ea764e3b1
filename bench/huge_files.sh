#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The programs themselves on a 2 GB "c1.dat" (the first sample book, then a hole up to 2 GB):
# from exec to the chooser's and 课程编辑's window on the screen, each program's peak
# resident memory half a second later, and `coursetool check`'s time and peak memory. Run it
# on an X display (under xvfb-run):
#   huge_files.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-5}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
app=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$app"' EXIT
cp "$build/chooser/pickwell" "$build/editor/coursedesk" "$build/tools/coursetool" "$app/"
"$app/coursetool" build "$source_dir/data/books/c1.tsv" "$app/c1.dat"
truncate -s 2G "$app/c1.dat"

window() {  # what pattern program
  local what=$1 pattern=$2 start found times=() peaks=()
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    (cd / && exec "$3") > /dev/null 2>&1 &
    pid=$!
    found=""
    until [ -n "$found" ]; do
      found=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
    done
    times+=($((($(date +%s%N) - start) / 1000000)))
    sleep 0.5
    peaks+=("$(awk '/^VmHWM:/ { print int($2 / 1024) }' "/proc/$pid/status")")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=""
  done
  echo "$what: to the window (ms) ${times[*]}, median $(median "${times[@]}");" \
    "peak resident (MB) ${peaks[*]}"
}

median() {
  printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"
}

window "选课 (pickwell), 2 GB c1.dat" '^选课 ' "$app/pickwell"
window "课程编辑 (coursedesk), 2 GB c1.dat" '^课程编辑 — ' "$app/coursedesk"
for ((i = 0; i < runs; i++)); do
  /usr/bin/time -q -f "coursetool check, 2 GB c1.dat: %e s, peak resident %M kB" \
    "$app/coursetool" check "$app/c1.dat" > /dev/null || true
done

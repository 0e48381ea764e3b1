#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How long after the pointer arrives on a menu button its click is heard, on a private
# sound server whose null sink is recorded (run it under xvfb-run):
#   click_latency.sh BUILD_DIR [ARRIVALS]
# Half a second before each arrival `paplay` plays a short reference tone; the click's
# delay is read off the recording against that tone, so it counts from the moment paplay
# is started (paplay itself is the reference, with no measurable delay of its own).
# Prints each arrival's delay and their median, in milliseconds.
set -euo pipefail
build=$(cd "$1" && pwd)
arrivals=${2:-20}
lib=$(cd "$(dirname "$0")/../tests/e2e" && pwd)
work=$(mktemp -d)
artefacts=$work
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  pulseaudio --kill 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=../tests/e2e/session_lib.sh
source "$lib/session_lib.sh"

cmake --install "$build" --prefix "$work/app" > /dev/null
sox -n -r 16000 -b 16 -c 1 "$work/reference.wav" synth 0.03 sine 1000 vol 0.5
start_probe_server "$work" "$work/pulseaudio.log"
record_probe "$work/recording.raw" &
recorder=$!
sleep 2.5
(cd / && exec "$work/app/lumadesk") > /dev/null 2>&1 &
pids+=($!)
menu_ready
sleep 0.5

offsets=()
for ((i = 0; i < arrivals; i++)); do
  xdotool mousemove $((mx + 400)) $((my + 100))
  sleep 0.3
  reference=$(date +%s%3N)
  paplay "$work/reference.wav" &
  sleep 0.5
  xdotool mousemove $((mx + 180)) $((my + 432))
  offsets+=($(($(date +%s%3N) - reference)))
  sleep 0.7
done
kill -INT "$recorder"; wait "$recorder" 2>/dev/null || true

mapfile -t bursts < <(python3 "$lib/count_clicks.py" "$work/recording.raw" | cut -d' ' -f1)
[ "${#bursts[@]}" -eq $((2 * arrivals)) ] ||
  fail "heard ${#bursts[@]} sounds, expected a reference and a click for each of $arrivals arrivals"
delays=()
for ((i = 0; i < arrivals; i++)); do
  delays+=($((bursts[2 * i + 1] - bursts[2 * i] - offsets[i])))
done
echo "click delays (ms): ${delays[*]}"
echo "median: $(printf '%s\n' "${delays[@]}" | sort -n | sed -n "$(((arrivals + 1) / 2))p") ms"

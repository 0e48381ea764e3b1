#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How long after the learner asks a sound is heard, on a private sound server whose null
# sink is recorded (run it under xvfb-run):
#   sound_latency.sh BUILD_DIR click [TIMES]   the menu's click, from the pointer's arrival
#   sound_latency.sh BUILD_DIR word [TIMES]    a spoken word in 听写训练, from the Enter that
#                                              brings the next word, and from Ctrl+R
#   sound_latency.sh BUILD_DIR learn [TIMES]   the first word of a sitting of 课文初记, from its
#                                              window first seen on the screen, and the next
#                                              card's, from the key that grades the first
# Half a second before each ask `paplay` plays a short reference tone; the delay is read
# off the recording against that tone, so it counts from the moment paplay is started
# (paplay itself is the reference, with no measurable delay of its own). Prints each delay
# and their median, in milliseconds.
set -euo pipefail
build=$(cd "$1" && pwd)
what=$2
times=${3:-20}
lib=$(cd "$(dirname "$0")/../tests/e2e" && pwd)
work=$(mktemp -d)
artefacts=$work
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  pkill -f "$work/" 2>/dev/null || true
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

offsets=()
# Plays the reference, waits half a second and runs ASK, noting when it ran.
timed() {  # ask...
  local reference
  reference=$(date +%s%3N)
  paplay "$work/reference.wav" &
  sleep 0.5
  "$@"
  offsets+=($(($(date +%s%3N) - reference)))
}

if [ "$what" = click ]; then
  (cd / && exec "$work/app/lumadesk") > /dev/null 2>&1 &
  pids+=($!)
  menu_ready
  sleep 0.5
  for ((i = 0; i < times; i++)); do
    xdotool mousemove $((mx + 400)) $((my + 100))
    sleep 0.3
    timed xdotool mousemove $((mx + 180)) $((my + 432))
    sleep 0.7
  done
  quiet=100
  first=0
elif [ "$what" = learn ]; then
  python3 "$lib/expect_handoff.py" "$work/app/900_1.dat" "$work/app/c1.dat:1" "$work/app/c1.dat:1"
  # Starts 课文初记 and returns once its window is on the screen, looked for without pause.
  open_learning() {
    (cd / && exec "$work/app/dorvesk.exe") > /dev/null 2>&1 &
    window=
    until [ -n "$window" ]; do
      window=$(xdotool search --onlyvisible --name '^课文初记 — ' 2>/dev/null | head -n 1 || true)
    done
  }
  # Each sitting grades its first card, so the next one starts on a word not heard yet.
  for ((i = 0; i < times; i += 2)); do
    timed open_learning
    xdotool windowfocus --sync "$window"
    sleep 1.5
    xdotool key space
    sleep 0.5
    timed xdotool key 3
    sleep 1.5
    kill "$(xdotool getwindowpid "$window")"
    sleep 0.5
  done
  times=$(((times + 1) / 2 * 2))
  quiet=300
  first=0
else
  # A lesson of single words, each typed right and then the next asked for with Enter;
  # every other time the word is asked for again with Ctrl+R.
  python3 "$lib/expect_handoff.py" "$work/app/900_1.dat" "$work/app/c1.dat:1" "$work/app/c1.dat:1"
  mapfile -t words < <(handoff entries "$work/app/900_1.dat" | cut -f 1 | grep -v ' ')
  (cd / && exec "$work/app/grisholm.exe") > /dev/null 2>&1 &
  pids+=($!)
  window=$(wait_for_window '^听写训练 — ')
  xdotool windowfocus --sync "$window"
  sleep 1.5  # the first word, spoken on its own
  for ((i = 0; i < times; i++)); do
    if ((i % 2)); then
      timed xdotool key ctrl+r
    else
      xdotool type --delay 20 "${words[0]}"
      sleep 0.8
      timed xdotool key Return
      words=("${words[@]:1}")
    fi
    sleep 1.5
  done
  quiet=300
  first=1
fi
kill -INT "$recorder"; wait "$recorder" 2>/dev/null || true

mapfile -t sounds < <(python3 "$lib/find_sounds.py" "$work/recording.raw" "$quiet" | cut -d' ' -f1)
sounds=("${sounds[@]:$first}")
[ "${#sounds[@]}" -eq $((2 * times)) ] ||
  fail "heard ${#sounds[@]} sounds, expected a reference and the sound for each of $times asks"
delays=()
for ((i = 0; i < times; i++)); do
  delays+=($((sounds[2 * i + 1] - sounds[2 * i] - offsets[i])))
done
echo "$what delays (ms): ${delays[*]}"
echo "median: $(printf '%s\n' "${delays[@]}" | sort -n | sed -n "$(((times + 1) / 2))p") ms," \
  "longest: $(printf '%s\n' "${delays[@]}" | sort -n | tail -n 1) ms"

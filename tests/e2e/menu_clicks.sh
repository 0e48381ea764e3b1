#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The menu's click as a learner hears it: a private sound server plays into a null sink
# whose monitor is recorded, while the real pointer moves over the menu on an X display
# (run it under xvfb-run):
#   menu_clicks.sh BUILD_DIR ARTEFACT_DIR [SESSIONS]
# In each session the pointer goes background -> 课文初记 (click), 课文初记 -> 复习回忆
# (none: no background between), background -> 听写训练 (click), background -> 听力自测
# (click). The recording must hold exactly those three clicks, each once, at the moments
# of the arrivals. Then, on a server started plainly whose idle sink is suspended (a
# learner's desktop), the menu is started: right after each arrival the server may hold
# its click for at most 100 ms (read from the server: a recording would change the sink's
# pace), and of seven arrivals 0.6 s apart each is heard.
set -euo pipefail
build=$(cd "$1" && pwd)
artefacts=$2
sessions=${3:-1}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$artefacts"
# shellcheck source=session_lib.sh
source "$here/session_lib.sh"
start_session "$build"

start_probe_server "$sound" "$artefacts/pulseaudio.log"

# Moves the pointer to client point (x, y) of the menu and notes the time in ms.
move() { xdotool mousemove $((mx + $1)) $((my + $2)); date +%s%3N; }
# Arrives on the button at client x of the button row from the background; notes the time.
arrive() { move 400 100 > /dev/null; sleep 0.3; move "$1" 432; }

# Ends the recording RECORDER and the menu MENU_PID; sets clicks to the sounds in RAW.
stop_and_find_clicks() {  # recorder menu_pid raw
  kill -INT "$1"; wait "$1" 2>/dev/null || true
  kill "$2"; wait "$2" 2>/dev/null || true
  mapfile -t clicks < <(python3 "$here/find_sounds.py" "$3")
}

session() {  # number
  local raw="$artefacts/clicks-$1.raw" recorder menu_pid t
  record_probe "$raw" &
  recorder=$!
  sleep 2.5
  (cd / && exec "$app/lumadesk") > "$artefacts/lumadesk-clicks-$1.log" 2>&1 &
  menu_pid=$!
  menu_ready
  sleep 0.5
  t=("$(arrive 180)")           # 课文初记 from the background: click
  sleep 1.5; move 288 432 > /dev/null    # 复习回忆 straight from 课文初记: none
  sleep 1.5
  t+=("$(arrive 396)")          # 听写训练: click
  sleep 1.5
  t+=("$(arrive 504)")          # 听力自测: click
  sleep 1
  stop_and_find_clicks "$recorder" "$menu_pid" "$raw"
  [ "${#clicks[@]}" -eq 3 ] ||
    fail "session $1: ${#clicks[@]} clicks heard, 3 due (start ms, length ms: ${clicks[*]})"
  local i heard due
  for i in 0 1 2; do
    read -r _ length <<< "${clicks[$i]}"
    [ "$length" -le 80 ] || fail "session $1: click $((i + 1)) lasts $length ms: played twice?"
  done
  for i in 1 2; do
    heard=$(( ${clicks[$i]%% *} - ${clicks[$((i - 1))]%% *} ))
    due=$(( t[i] - t[i - 1] ))
    (( heard > due - 250 && heard < due + 250 )) ||
      fail "session $1: clicks $i and $((i + 1)) came $heard ms apart, the arrivals $due ms"
  done
  pass "session $1: the three clicks due, each once, at their arrivals"
}

# How long a sound written now by the program PID waits on the server, in ms: its stream's
# Buffer Latency and its sink's latency.
stream_latency() {  # pid
  pactl list sink-inputs | awk -v pid="\"$1\"" '
    /^Sink Input #/ { buffer = 0; sink = 0 }
    /Buffer Latency:/ { buffer = $3 }
    /Sink Latency:/ { sink = $3 }
    $1 == "application.process.id" && $3 == pid { print int((buffer + sink) / 1000); found = 1 }
    END { exit !found }'
}

plain_session() {
  local raw="$artefacts/clicks-plain.raw" recorder menu_pid latency latencies=() x i
  pulseaudio --kill
  for _ in $(seq 1 50); do pulseaudio --check 2> /dev/null || break; sleep 0.1; done
  start_sound_server "$sound" "$artefacts/pulseaudio-plain.log"
  wait_for_suspended_sink
  (cd / && exec "$app/lumadesk") > "$artefacts/lumadesk-clicks-plain.log" 2>&1 &
  menu_pid=$!
  menu_ready
  # The menu opens its stream as it starts; a sink woken by a new stream keeps the two
  # seconds it had rendered ahead before it takes the stream's pace, so the learner's
  # first arrival is taken to come no sooner.
  sleep 2
  for x in 180 396 504 612 180 396; do
    arrive "$x" > /dev/null; sleep 0.1
    latency=$(stream_latency "$menu_pid") || fail "the menu has no sound stream on the server"
    latencies+=("$latency")
    sleep 0.3
  done
  for latency in "${latencies[@]}"; do
    ((latency <= 100)) ||
      fail "after each arrival the server held the click for ${latencies[*]} ms; at most 100 due"
  done
  pass "after each arrival the server held the click for ${latencies[*]} ms"

  record_probe "$raw" plain &
  recorder=$!
  sleep 2.5
  for ((i = 0; i < 7; i++)); do
    arrive $((i % 2 ? 396 : 180)) > /dev/null; sleep 0.3
  done
  sleep 1
  stop_and_find_clicks "$recorder" "$menu_pid" "$raw"
  [ "${#clicks[@]}" -eq 7 ] ||
    fail "arrivals 0.6 s apart: ${#clicks[@]} clicks heard, 7 due (start ms, length ms: ${clicks[*]})"
  pass "arrivals 0.6 s apart: each of the 7 clicks heard"
}

for n in $(seq 1 "$sessions"); do session "$n"; done
plain_session

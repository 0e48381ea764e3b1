#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The menu's click as a learner hears it: a private sound server plays into a null sink
# whose monitor is recorded, while the real pointer moves over the menu on an X display
# (run it under xvfb-run):
#   menu_clicks.sh BUILD_DIR ARTEFACT_DIR [SESSIONS]
# In each session the pointer goes background -> 课文初记 (click), 课文初记 -> 复习回忆
# (none: no background between), background -> 听写训练 (click), background -> 听力自测
# (click). The recording must hold exactly those three clicks, each once, at the moments
# of the arrivals.
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

session() {  # number
  local raw="$artefacts/clicks-$1.raw" recorder menu_pid t
  record_probe "$raw" &
  recorder=$!
  sleep 2.5
  (cd / && exec "$app/lumadesk") > "$artefacts/lumadesk-clicks-$1.log" 2>&1 &
  menu_pid=$!
  menu_ready
  sleep 0.5
  move 400 100 > /dev/null; sleep 0.3
  t=("$(move 180 432)")         # 课文初记 from the background: click
  sleep 1.5; move 288 432 > /dev/null    # 复习回忆 straight from 课文初记: none
  sleep 1.5; move 400 100 > /dev/null; sleep 0.3
  t+=("$(move 396 432)")        # 听写训练: click
  sleep 1.5; move 400 100 > /dev/null; sleep 0.3
  t+=("$(move 504 432)")        # 听力自测: click
  sleep 1
  kill -INT "$recorder"; wait "$recorder" 2>/dev/null || true
  kill "$menu_pid"; wait "$menu_pid" 2>/dev/null || true

  mapfile -t clicks < <(python3 "$here/find_sounds.py" "$raw")
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

for n in $(seq 1 "$sessions"); do session "$n"; done

#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How long a learner waits for a window: from exec to the window on the screen with its
# text, for 课文初记 showing its first card (also with its store linked to a class server
# that does not answer) and for the chooser, and from the key S in
# 复习回忆 to its statistics window, on an X display (run it under xvfb-run):
#   window_start.sh BUILD_DIR [RUNS]
# The window is looked for every few milliseconds; prints each run and the median in ms.
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-10}
lib=$(cd "$(dirname "$0")/../tests/e2e" && pwd)
app=$(mktemp -d)
artefacts=$app
pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$app"' EXIT
# shellcheck source=../tests/e2e/session_lib.sh
source "$lib/session_lib.sh"
cmake --install "$build" --prefix "$app" > /dev/null
expect_handoff "$app/900_1.dat" "$app" 1 2  # a lesson chosen, as the chooser leaves it

# Fills the store the runs before made into a long-time learner's: 20,000 more cards and
# 200,000 answers, in one transaction.
fill_store() {  # path
  sqlite3 "$1" <<'SQL'
BEGIN;
WITH RECURSIVE n(c) AS (SELECT 1 UNION ALL SELECT c + 1 FROM n WHERE c < 20000)
INSERT INTO cards(id, lesson, line1, line2, added)
  SELECT 1000 + c, 'Unit ' || (c / 13), 'word' || c, '释义' || c, 0 FROM n;
WITH RECURSIVE n(a) AS (SELECT 0 UNION ALL SELECT a + 1 FROM n WHERE a < 199999)
INSERT INTO answers(card, time, grade, activity, seconds)
  SELECT 1001 + (a * 7919) % 20000, 1736150400000 + a * 150000, 3, '复习回忆', 3 FROM n;
INSERT INTO card_state SELECT id, 10, 1, 20.0, 5.0, 0, 1767000000000 + id * 1000, 20, 3
  FROM cards WHERE id > 1000;
COMMIT;
SQL
}

measure() {  # what pattern command...
  local what=$1 pattern=$2 times=() start window
  shift 2
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    (cd / && exec "$@") > /dev/null 2>&1 &
    pids+=($!)
    window=""
    until [ -n "$window" ]; do
      window=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
    done
    times+=($((($(date +%s%N) - start) / 1000000)))
    kill $! 2>/dev/null; wait $! 2>/dev/null || true
  done
  echo "$what (ms): ${times[*]}; median $(printf '%s\n' "${times[@]}" | sort -n |
    sed -n "$(((runs + 1) / 2))p")"
}

# From the key S in 复习回忆 (its window up and settled) to the statistics window shown.
measure_statistics() {
  local times=() start window
  for ((i = 0; i < runs; i++)); do
    (cd / && exec "$app/fennatel.exe") > /dev/null 2>&1 &
    pids+=($!)
    window=""
    until [ -n "$window" ]; do
      window=$(xdotool search --onlyvisible --name '^复习回忆$' 2>/dev/null | head -n 1 || true)
    done
    sleep 1
    xdotool windowfocus --sync "$window"
    start=$(date +%s%N)
    xdotool key s
    until xdotool search --onlyvisible --name '^学习统计$' > /dev/null 2>&1; do :; done
    times+=($((($(date +%s%N) - start) / 1000000)))
    kill $! 2>/dev/null; wait $! 2>/dev/null || true
  done
  echo "复习回忆, S to the statistics (ms): ${times[*]}; median $(printf '%s\n' "${times[@]}" |
    sort -n | sed -n "$(((runs + 1) / 2))p")"
}

measure "课文初记, first card, new store" '^课文初记 — ' "$app/dorvesk.exe"
fill_store "$app/study.db"
measure "课文初记, first card, 200,000 answers in the store" '^课文初记 — ' "$app/dorvesk.exe"
# A class server that takes connections and never says a word: each window starts its sync
# behind itself, which waits for the server until it gives up.
python3 -c 'import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(64)
print(s.getsockname()[1], flush=True); sys.stdout.close(); time.sleep(600)' > "$app/port" &
pids+=($!)
until [ -s "$app/port" ]; do :; done
cat > "$app/study.hub" <<JSON
{"address": "127.0.0.1:$(cat "$app/port")", "pin": "$(printf 'A%.0s' {1..43})=", "learner": 1,
 "token": "t", "number": "1", "name": "n", "class": "c"}
JSON
measure "课文初记, first card, 200,000 answers, linked to a server that does not answer" \
  '^课文初记 — ' "$app/dorvesk.exe"
rm "$app/study.hub"
measure "选课, the chooser" '^选课 ' "$app/pickwell"
measure_statistics

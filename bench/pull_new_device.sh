#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A learner's new device taking in their whole progress: a PostgreSQL cluster of its own and
# the real studyhub hold 100,000 answers of one learner (1,200 cards over ten lessons, as if
# made by another device); a new store joins and `studytool sync` takes them all in,
# replaying every card. Prints each run's wall time; each run starts from an empty store.
#   pull_new_device.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-5}
work=$(mktemp -d)
studyhub=$build/hub/studyhub
studytool=$build/tools/studytool
# shellcheck source=../tests/hub/class_server.sh
source "$(dirname "$0")/../tests/hub/class_server.sh"
trap 'stop_class_server "$work"' EXIT
start_class_server "$studyhub" "$work"
"$studyhub" class add Bench > /dev/null
"$studyhub" learner add Bench 0001 Learner > /dev/null
psql -q "$STUDYHUB_DB" <<'SQL'
BEGIN;
INSERT INTO answers
  SELECT l.id, repeat('a', 32), g, g, 'Unit ' || (g % 10 + 1) || ' 晨间集市',
         'word' || (g % 1200), '释义；意思（' || (g % 1200) || '）', 'n.',
         1700000000000 + g * 600000::bigint, 1 + g % 4, 'review', 3.5
  FROM learners l, generate_series(1, 100000) g WHERE l.number = '0001';
UPDATE learners SET counter = 100000 WHERE number = '0001';
COMMIT;
SQL
for run in $(seq 1 "$runs"); do
  device=$work/device$run
  mkdir "$device"
  "$studytool" join "$("$studyhub" learner code Bench 0001 | tail -n 1)" "$device/study.db" \
    > /dev/null
  start=$(date +%s%N)
  "$studytool" sync "$device/study.db" > "$device/sync.txt"
  echo "run $run: $(( ($(date +%s%N) - start) / 1000000 )) ms ($(cat "$device/sync.txt"))"
done

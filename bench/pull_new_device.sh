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
pg=/usr/lib/postgresql/15/bin
work=$(mktemp -d)
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
  chown postgres: "$work"
  as_owner=(runuser -u postgres --)
fi
port=$((20000 + RANDOM % 20000))
studyhub=$build/hub/studyhub
studytool=$build/tools/studytool
serve_pid=""
finish() {
  [ -n "$serve_pid" ] && kill "$serve_pid" 2> /dev/null
  "${as_owner[@]}" "$pg/pg_ctl" -D "$work/data" -m immediate stop > /dev/null 2>&1 || true
  rm -rf "$work"
}
trap finish EXIT

"${as_owner[@]}" "$pg/initdb" -D "$work/data" -A trust -U hub -E UTF8 > /dev/null
"${as_owner[@]}" "$pg/pg_ctl" -D "$work/data" -l "$work/postgres.log" -w \
  -o "-p $port -k $work -c listen_addresses=" start > /dev/null
export STUDYHUB_DB="host=$work port=$port user=hub dbname=postgres"
"$studyhub" init > /dev/null
"$studyhub" make-cert 127.0.0.1 "$work/cert" > /dev/null
"$studyhub" serve --listen "127.0.0.1:$((port + 1))" --cert "$work/cert/cert.pem" \
  --key "$work/cert/key.pem" 2> "$work/serve.log" &
serve_pid=$!
for _ in $(seq 1 100); do
  (exec 3<> "/dev/tcp/127.0.0.1/$((port + 1))") 2> /dev/null && break
  sleep 0.1
done
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

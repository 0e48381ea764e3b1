#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Tries the class server on this machine: starts a PostgreSQL cluster of its own in a
# folder (made on the first run, kept for the next), builds and starts studyhub on it over
# HTTPS, and prints a join code for a sample learner. Ctrl+C stops both.
#   scripts/hub.sh [FOLDER]         (default build/hub-try)
# HUB_HOST (default 127.0.0.1) is the address devices reach the server at; HUB_PORT (8443)
# its port.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
folder=$(realpath -m "${1:-build/hub-try}")
host=${HUB_HOST:-127.0.0.1}
port=${HUB_PORT:-8443}
pg=/usr/lib/postgresql/15/bin

scripts/setup.sh
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DSUITE_ENABLE_BENCHMARKS=OFF > /dev/null
cmake --build build/run -j2 --target studyhub
studyhub=$root/build/run/hub/studyhub

# PostgreSQL refuses to run as root: as root, the cluster belongs to "postgres".
as_owner=()
mkdir -p "$folder"
if [ "$(id -u)" -eq 0 ]; then
  chown postgres: "$folder"
  as_owner=(runuser -u postgres --)
fi
if [ ! -d "$folder/data" ]; then
  "${as_owner[@]}" "$pg/initdb" -D "$folder/data" -A trust -U hub -E UTF8 > "$folder/initdb.log"
fi
# A unix socket in the folder only: nothing else on the machine is in the way.
"${as_owner[@]}" "$pg/pg_ctl" -D "$folder/data" -l "$folder/postgres.log" -w \
  -o "-p 5432 -k $folder -c listen_addresses=" start > /dev/null
export STUDYHUB_DB="host=$folder port=5432 user=hub dbname=postgres"

serve_pid=""
stop() {
  [ -n "$serve_pid" ] && kill "$serve_pid" 2> /dev/null && wait "$serve_pid" 2> /dev/null
  "${as_owner[@]}" "$pg/pg_ctl" -D "$folder/data" -m fast stop > /dev/null || true
}
trap stop EXIT

"$studyhub" init
[ -f "$folder/cert.pem" ] || "$studyhub" make-cert "$host" "$folder"
"$studyhub" serve --listen "$host:$port" --cert "$folder/cert.pem" --key "$folder/key.pem" &
serve_pid=$!
for _ in $(seq 1 100); do
  (exec 3<> "/dev/tcp/$host/$port") 2> /dev/null && break
  kill -0 "$serve_pid" 2> /dev/null || { echo "studyhub serve ended" >&2; exit 1; }
  sleep 0.1
done

"$studyhub" class add 示例班 > /dev/null 2>&1 || true
if "$studyhub" learner add 示例班 0001 示例学生 > "$folder/code.txt" 2>&1; then
  code=$(tail -n 1 "$folder/code.txt")
else
  code=$("$studyhub" learner code 示例班 0001 | tail -n 1)
fi
echo
echo "studyhub serves https://$host:$port (database in $folder)."
echo "A join code for the sample learner 0001 示例学生 (one device, valid 7 days):"
echo
echo "    $code"
echo
echo "On a learner's machine: studytool join '$code'"
echo "Ctrl+C stops the server and the database."
wait "$serve_pid"

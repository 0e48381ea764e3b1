# SPDX-License-Identifier: MIT
# Sourced by shell tests and benches: a throwaway PostgreSQL cluster in a folder and the
# real studyhub serving on it over HTTPS, for one run.
#   start_class_server STUDYHUB FOLDER   sets STUDYHUB_DB (exported), hub_pid and hub_address
#   stop_class_server FOLDER             stops both and removes the folder
# PostgreSQL refuses to run as root: as root, the cluster belongs to "postgres".

class_server_pg=/usr/lib/postgresql/15/bin

class_server_as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

start_class_server() {  # studyhub folder
  local port
  port=$((20000 + RANDOM % 20000))
  chmod 755 "$2"
  [ "$(id -u)" -ne 0 ] || chown postgres: "$2"
  class_server_as_owner "$class_server_pg/initdb" -D "$2/data" -A trust -U hub -E UTF8 \
    > /dev/null
  class_server_as_owner "$class_server_pg/pg_ctl" -D "$2/data" -l "$2/postgres.log" -w \
    -o "-p $port -k $2 -c listen_addresses=" start > /dev/null
  export STUDYHUB_DB="host=$2 port=$port user=hub dbname=postgres"
  "$1" init > /dev/null
  "$1" make-cert 127.0.0.1 "$2/cert" > /dev/null
  hub_address=127.0.0.1:$((port + 1))
  "$1" serve --listen "$hub_address" --cert "$2/cert/cert.pem" --key "$2/cert/key.pem" \
    2> "$2/serve.log" &
  hub_pid=$!
  for _ in $(seq 1 100); do
    (exec 3<> "/dev/tcp/127.0.0.1/$((port + 1))") 2> /dev/null && return 0
    kill -0 "$hub_pid" 2> /dev/null || break
    sleep 0.1
  done
  echo "studyhub did not start serving: $(cat "$2/serve.log")" >&2
  return 1
}

stop_class_server() {  # folder
  if [ -n "${hub_pid:-}" ]; then
    kill "$hub_pid" 2> /dev/null
    wait "$hub_pid" 2> /dev/null || true
    hub_pid=""
  fi
  class_server_as_owner "$class_server_pg/pg_ctl" -D "$1/data" -m immediate stop \
    > /dev/null 2>&1 || true
  rm -rf "$1"
}

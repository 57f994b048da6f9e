#!/usr/bin/env bash
# Runs a command with a throwaway PostgreSQL server for the store tests against a real server.
# Usage: scripts/with-postgres.sh COMMAND [ARGS...]
#
# The server is a new cluster in a temporary folder, listening on 127.0.0.1 and a free port, run as
# an unprivileged user (as root: the system user xel02test, created when missing). The command sees
# XEL02_TEST_PG, an "odbc:" connection string to the server's maintenance database for a user that
# may create databases, and ODBCSYSINI pointing at a driver configuration of our own (no driver
# logs), and XEL02_TEST_PG_CTL, a program that stops ("stop") or starts ("start") the server again,
# for the tests of a server that goes away and comes back. The server is stopped and the folder
# removed however the command ends; the command's exit status is the script's.
set -euo pipefail

pg_bin=${XEL02_PG_BIN:-/usr/lib/postgresql/15/bin}
run_as_user=xel02test
here=$(cd "$(dirname "$0")/.." && pwd)

fail() {
  echo "with-postgres: $*" >&2
  exit 1
}

[ $# -gt 0 ] || fail "usage: $0 COMMAND [ARGS...]"
[ -x "$pg_bin/initdb" ] || fail "no PostgreSQL server programs in $pg_bin (package postgresql-15)"

find_driver() {
  local dir
  for dir in /usr/lib/x86_64-linux-gnu/odbc /usr/lib/aarch64-linux-gnu/odbc /usr/lib/odbc \
    /usr/lib64 /usr/local/lib; do
    [ -f "$dir/psqlodbcw.so" ] && { echo "$dir/psqlodbcw.so"; return; }
  done
  fail "the PostgreSQL ODBC driver psqlodbcw.so is missing (package odbc-postgresql)"
}

# The server refuses to run as root; the cluster then belongs to an unprivileged system user.
as_server_user() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u "$run_as_user" -- "$@"
  else
    "$@"
  fi
}

if [ "$(id -u)" -eq 0 ] && ! id "$run_as_user" >/dev/null 2>&1; then
  useradd --system --no-create-home --shell /usr/sbin/nologin "$run_as_user"
fi

port_in_use() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

free_port() {
  local port
  for _ in $(seq 50); do
    port=$((20000 + RANDOM % 20000))
    port_in_use "$port" || { echo "$port"; return; }
  done
  fail "no free port found"
}

driver=$(find_driver)
started=$(date +%s%N)
work=$(mktemp -d "${TMPDIR:-/tmp}/xel02-pg-XXXXXX")
data=$work/data
server_started=0

milliseconds_since() {
  echo $((($(date +%s%N) - $1) / 1000000))
}

stop_server() {
  local status=$? stopping
  stopping=$(date +%s%N)
  if [ "$server_started" = 1 ]; then
    as_server_user "$pg_bin/pg_ctl" -D "$data" -m fast -w stop >/dev/null 2>&1 ||
      as_server_user "$pg_bin/pg_ctl" -D "$data" -m immediate -w stop >/dev/null 2>&1 || true
    echo "with-postgres: server stopped in $(milliseconds_since "$stopping") ms" >&2
  fi
  rm -rf "$work"
  exit "$status"
}
trap stop_server EXIT
trap 'exit 130' INT TERM

chmod 755 "$work"
[ "$(id -u)" -eq 0 ] && chown "$run_as_user" "$work"

user=xel02
password=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
(umask 077 && printf '%s\n' "$password" >"$work/password")
[ "$(id -u)" -eq 0 ] && chown "$run_as_user" "$work/password"
as_server_user "$pg_bin/initdb" -D "$data" -U "$user" --pwfile="$work/password" \
  --auth-local=scram-sha-256 --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 \
  >"$work/initdb.log" 2>&1 || { cat "$work/initdb.log" >&2; fail "initdb failed"; }
rm -f "$work/password"

# A throwaway cluster: durability is not wanted, speed is.
cat >>"$data/postgresql.conf" <<EOF
listen_addresses = '127.0.0.1'
unix_socket_directories = '$work'
fsync = off
synchronous_commit = off
full_page_writes = off
max_connections = 100
EOF

for attempt in 1 2 3 4 5; do
  port=$(free_port)
  if as_server_user "$pg_bin/pg_ctl" -D "$data" -l "$work/server.log" -w -t 60 \
    -o "-p $port" start >/dev/null; then
    server_started=1
    break
  fi
  [ "$attempt" = 5 ] && { cat "$work/server.log" >&2; fail "the server did not start"; }
done

# The driver as the tests name it, without the communication logs the system's entry may ask for;
# and no data sources from the home directory.
cat >"$work/odbcinst.ini" <<EOF
[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode)
Driver=$driver
Debug=0
CommLog=0
EOF
export ODBCSYSINI=$work
export ODBCINI=$work/odbc.ini
touch "$ODBCINI"
pg_ctl_as_server="$pg_bin/pg_ctl"
[ "$(id -u)" -eq 0 ] && pg_ctl_as_server="runuser -u $run_as_user -- $pg_bin/pg_ctl"
cat >"$work/pg-ctl" <<EOF
#!/bin/sh
# Stops or starts this run's throwaway server: pg-ctl stop|start
case "\$1" in
  stop) exec $pg_ctl_as_server -D "$data" -m fast -w stop >/dev/null ;;
  start) exec $pg_ctl_as_server -D "$data" -l "$work/server.log" -w -t 60 -o "-p $port" start >/dev/null ;;
  *) echo "usage: \$0 stop|start" >&2; exit 2 ;;
esac
EOF
chmod 755 "$work/pg-ctl"
export XEL02_TEST_PG_CTL=$work/pg-ctl
export XEL02_TEST_PG="odbc:Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$port;Database=postgres;Uid=$user;Pwd=$password;"

echo "with-postgres: server on 127.0.0.1:$port ready in $(milliseconds_since "$started") ms" >&2
"$@"

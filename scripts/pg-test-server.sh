#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests, on 127.0.0.1 with a free port,
# its data and socket in a new temporary folder.
#
#   eval "$(bash scripts/pg-test-server.sh start)"   # sets VARNHOLT_PG_CONNECTION
#   bash scripts/pg-test-server.sh stop "$VARNHOLT_PG_DIR"
#
# start prints shell assignments: VARNHOLT_PG_CONNECTION (an ADO-style
# connection string to the maintenance database "postgres" as the superuser
# "varnholt", no password) and VARNHOLT_PG_DIR (the folder that stop removes).
# initdb and the server refuse to run as root, so as root the folder belongs
# to the "postgres" user and both run as that user. The cluster uses the C
# locale, so text sorts by its bytes as in SQLite. Durability is switched off:
# the data lives only as long as the test run.
set -euo pipefail

PG_USER=varnholt

find_bin_dir() {
    local dir
    if [ -n "${PG_BIN_DIR:-}" ]; then
        echo "$PG_BIN_DIR"
        return 0
    fi
    for dir in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -t/ -k5 -n -r); do
        if [ -x "$dir/initdb" ] && [ -x "$dir/pg_ctl" ]; then
            echo "$dir"
            return 0
        fi
    done
    return 1
}

# Runs a server binary as the folder's owner.
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

port_in_use() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

start() {
    local bin_dir dir port attempt
    if ! bin_dir="$(find_bin_dir)"; then
        echo "pg-test-server: no PostgreSQL server binaries (initdb, pg_ctl) under" \
            "/usr/lib/postgresql/*/bin; install postgresql-15 or set PG_BIN_DIR" >&2
        return 1
    fi
    if [ "$(id -u)" -eq 0 ] && ! id postgres >/dev/null 2>&1; then
        echo "pg-test-server: running as root needs the \"postgres\" user" >&2
        return 1
    fi
    dir="$(mktemp -d "${TMPDIR:-/tmp}/varnholt-pg.XXXXXX")"
    if [ "$(id -u)" -eq 0 ]; then
        chown postgres: "$dir"
    fi
    if ! as_owner "$bin_dir/initdb" -D "$dir/data" -A trust -U "$PG_USER" --locale=C \
        --encoding=UTF8 --no-sync >"$dir/initdb.log" 2>&1; then
        echo "pg-test-server: initdb failed:" >&2
        cat "$dir/initdb.log" >&2
        rm -rf "$dir"
        return 1
    fi
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        port=$((20000 + RANDOM % 30000))
        if port_in_use "$port"; then
            continue
        fi
        if as_owner "$bin_dir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
            -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off \
-c synchronous_commit=off -c full_page_writes=off" start >/dev/null; then
            echo "VARNHOLT_PG_CONNECTION='Provider=PostgreSQL;Host=127.0.0.1;Port=$port;Database=postgres;User ID=$PG_USER'"
            echo "VARNHOLT_PG_DIR='$dir'"
            echo "export VARNHOLT_PG_CONNECTION VARNHOLT_PG_DIR"
            return 0
        fi
        # Another process may have taken the port in between: try another.
    done
    echo "pg-test-server: the server did not start:" >&2
    cat "$dir/server.log" >&2 || true
    rm -rf "$dir"
    return 1
}

stop() {
    local dir="${1:-${VARNHOLT_PG_DIR:-}}" bin_dir
    if [ -z "$dir" ] || [ ! -d "$dir/data" ]; then
        echo "pg-test-server: no server folder to stop (give the folder start printed)" >&2
        return 1
    fi
    bin_dir="$(find_bin_dir)" || true
    if [ -n "$bin_dir" ] && [ -f "$dir/data/postmaster.pid" ]; then
        as_owner "$bin_dir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
    fi
    rm -rf "$dir"
}

case "${1:-}" in
start) start ;;
stop) stop "${2:-}" ;;
*)
    echo "usage: $0 start | stop [folder]" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# The test command: installs what is missing, builds, runs every suite.
#
# The PostgreSQL cases run against a throw-away server that this script
# starts (scripts/pg-test-server.sh) and stops when it ends; a server of
# your own can be named in VARNHOLT_PG_CONNECTION instead. Without one
# those cases are skipped, except under CI (CI=true), where they fail.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

bash "$ROOT/scripts/install-deps.sh"
bash "$ROOT/scripts/build.sh"
# Every SQL Server text the report can send, parsed by a T-SQL grammar.
BUILD_DIR="$BUILD_DIR" bash "$ROOT/tools/tsql-check/run.sh"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

if [ -z "${VARNHOLT_PG_CONNECTION:-}" ]; then
    if pg_settings="$(bash "$ROOT/scripts/pg-test-server.sh" start)"; then
        eval "$pg_settings"
        trap 'bash "$ROOT/scripts/pg-test-server.sh" stop "$VARNHOLT_PG_DIR"' EXIT
        echo "PostgreSQL test server: $VARNHOLT_PG_CONNECTION"
    else
        echo "No PostgreSQL test server: its test cases will be skipped" \
            "(and fail under CI)" >&2
    fi
fi

cd "$BUILD_DIR"
ctest --output-on-failure -j "${JOBS:-2}" --timeout 300

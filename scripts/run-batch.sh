#!/usr/bin/env bash
# The main job: installs what is missing, builds, generates a fresh demo
# province (SQLite) and writes its proposal tables with varnholt-batch: the
# summary table and every fund nature's detail table, as workbooks and PDFs.
# Extra arguments go to varnholt-batch (bash scripts/run-batch.sh --help).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
OUT="$ROOT/out"

bash "$ROOT/scripts/install-deps.sh"
bash "$ROOT/scripts/build.sh"
mkdir -p "$OUT"

DB="$OUT/demo.db"
echo "Generating the demo province $DB"
"$BUILD_DIR/bin/varnholt-demo-db" "$DB"

TABLES="$OUT/tables"
rm -rf "$TABLES"
"$BUILD_DIR/bin/varnholt-batch" --connection "Provider=SQLite;Data Source=$DB" \
    --year "${VARNHOLT_YEAR:-2024}" --out "$TABLES" "$@"
echo
echo "The tables are in $TABLES:"
ls -1 "$TABLES"

#!/usr/bin/env bash
# The main job: installs what is missing, builds the batch tool and the
# demo generator (nothing else), makes the demo province
# (SQLite) the first time and writes its proposal tables with varnholt-batch:
# the summary table and every fund nature's detail table, as workbooks and
# PDFs, with their audit. Extra arguments go to varnholt-batch
# (bash scripts/run-batch.sh --help lists them).
#
# --help and options the tool cannot use change nothing: they are checked
# before the demo database is made or a table is written. A run replaces
# the folder's set of the same selection whole and refuses another
# selection's (--replace replaces it); a run that fails leaves the earlier
# set alone.
# The build is quiet unless it fails (its log: out/build.log).
#
# VARNHOLT_OUT names another folder than out/; VARNHOLT_SKIP_BUILD=1 uses
# the build as it is (the tests run the script so).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
OUT="${VARNHOLT_OUT:-$ROOT/out}"
TOOL="$BUILD_DIR/bin/varnholt-batch"
GENERATOR="$BUILD_DIR/bin/varnholt-demo-db"
DB="$OUT/demo.db"
TABLES="$OUT/tables"
mkdir -p "$OUT"

if [ -z "${VARNHOLT_SKIP_BUILD:-}" ]; then
    bash "$ROOT/scripts/install-deps.sh"
    echo "正在构建程序（构建日志：$OUT/build.log）……"
    # Only the tool, the generator and what they link; the tests' command
    # builds the rest and reuses these.
    if ! bash "$ROOT/scripts/build.sh" varnholt-batch varnholt-demo-db >"$OUT/build.log" 2>&1; then
        echo "构建失败。构建日志的最后部分：" >&2
        tail -n 40 "$OUT/build.log" >&2
        exit 1
    fi
fi

for argument in "$@"; do
    case "$argument" in
    -h | --help | --help-all) exec "$TOOL" --help ;;
    esac
done

# The demo province holds the budget years 2022 to 2024.
DEFAULTS=(--connection "Provider=SQLite;Data Source=$DB" --year "${VARNHOLT_YEAR:-2024}"
          --out "$TABLES")
"$TOOL" --check-options "${DEFAULTS[@]}" "$@" || exit $?

if [ ! -f "$DB" ] || [ "$GENERATOR" -nt "$DB" ]; then
    echo "正在生成演示省份的数据库 $DB ……"
    "$GENERATOR" "$DB.new" >/dev/null
    mv -f "$DB.new" "$DB"
fi

status=0
"$TOOL" "${DEFAULTS[@]}" "$@" || status=$?
echo
if [ "$status" -eq 0 ] || [ "$status" -eq 3 ]; then
    echo "报表和审核结果在 $TABLES/"
else
    echo "未能写出全部报表（退出码 $status），原因见上。文件夹 $TABLES/ 中此前的报表没有动。" >&2
fi
exit "$status"

#!/usr/bin/env bash
# The main job: installs what is missing, builds, makes the demo database if
# there is none, and runs the reference host with the plug-in loaded and the
# report window open. Without a display the host runs on the offscreen
# platform, saves a screenshot to out/host.png and quits by itself.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
OUT="$ROOT/out"

bash "$ROOT/scripts/install-deps.sh"
bash "$ROOT/scripts/build.sh"
mkdir -p "$OUT"

# Qt makes up a runtime folder when the session has none and says so on every
# start; give it the one it would make, so the terminal shows only our lines.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="/tmp/runtime-$(id -un)"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

DB="${VARNHOLT_DB:-$OUT/demo.db}"
DEMO_DB_TOOL="$BUILD_DIR/bin/varnholt-demo-db"
if [ ! -f "$DB" ] && [ -x "$DEMO_DB_TOOL" ]; then
    echo "正在生成演示数据库 $DB ……"
    "$DEMO_DB_TOOL" "$DB"
fi

# The demo database holds the budget years 2022 to 2024.
ARGS=(--open --year "${VARNHOLT_YEAR:-2024}" --connection "Provider=SQLite;Data Source=$DB"
      --ini "$OUT/varnholt.ini")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    ARGS+=(--screenshot "$OUT/host.png" --quit-after "${QUIT_AFTER_MS:-4000}")
fi
exec "$BUILD_DIR/bin/varnholt-host" "${ARGS[@]}" "$@"

#!/usr/bin/env bash
# The test command: installs what is missing, builds, runs every suite.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

bash "$ROOT/scripts/install-deps.sh"
bash "$ROOT/scripts/build.sh"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cd "$BUILD_DIR"
ctest --output-on-failure -j "${JOBS:-2}" --timeout 300

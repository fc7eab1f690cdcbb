#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR): everything, or only the
# targets named as arguments and what they link (the main job builds the
# batch tool and the demo generator alone; a later build of everything
# reuses what they built). WERROR=ON makes warnings errors (kept in the
# build folder's cache until WERROR=OFF is given).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
JOBS="${JOBS:-2}"

cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
    -DVARNHOLT_SANITIZE="${SANITIZE:-OFF}" \
    ${WERROR:+-DCMAKE_COMPILE_WARNING_AS_ERROR="$WERROR"} >/dev/null
if [ "$#" -gt 0 ]; then
    cmake --build "$BUILD_DIR" -j "$JOBS" --target "$@"
else
    cmake --build "$BUILD_DIR" -j "$JOBS"
fi

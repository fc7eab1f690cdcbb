#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for a bounded
# time (FUZZ_SECONDS, default 60), starting from the shipped templates and a
# few INI files. Prints each target's run count; exits non-zero when a target
# found a crash or a broken property (the input is saved in the work folder).
#
#   bash scripts/fuzz.sh [target...]     targets: fuzz_cll_reader fuzz_ini_document
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${FUZZ_BUILD_DIR:-$ROOT/build-fuzz}"
WORK="${FUZZ_WORK_DIR:-$BUILD_DIR/fuzz-work}"
SECONDS_EACH="${FUZZ_SECONDS:-60}"
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(fuzz_cll_reader fuzz_ini_document)

VARNHOLT_FUZZ=1 bash "$ROOT/scripts/install-deps.sh"
CXX=clang++ cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNHOLT_FUZZ=ON -DVARNHOLT_BUILD_TESTS=OFF -DVARNHOLT_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$BUILD_DIR" -j "${JOBS:-2}" --target "${TARGETS[@]}"

# Seeds: the real templates, and INI files in the shapes the stores write.
mkdir -p "$WORK/seeds/fuzz_cll_reader" "$WORK/seeds/fuzz_ini_document"
cp "$ROOT"/templates/*.cll "$WORK/seeds/fuzz_cll_reader/"
printf '[bwnCorrandel]\r\nShowSaveExpSet=1\r\nexpType = "0"\r\n' >"$WORK/seeds/fuzz_ini_document/host.ini"
printf '\xef\xbb\xbf; comment\n[Software\\Firm\\App]\n[ ]\nk=v\n[a]\nx=1\nx=2\n[A]\ny' \
    >"$WORK/seeds/fuzz_ini_document/odd.ini"

export QT_QPA_PLATFORM=offscreen
failed=0
for target in "${TARGETS[@]}"; do
    corpus="$WORK/corpus/$target"
    mkdir -p "$corpus" "$WORK/findings/$target"
    log="$WORK/$target.log"
    set +e
    "$BUILD_DIR/bin/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -artifact_prefix="$WORK/findings/$target/" \
        "$corpus" "$WORK/seeds/$target" >"$log" 2>&1
    status=$?
    set -e
    runs=$(grep -o 'Done [0-9]* runs' "$log" | tail -1 | grep -o '[0-9]*' || true)
    if [ $status -eq 0 ]; then
        echo "$target: ${runs:-?} runs in ${SECONDS_EACH} s, nothing found"
    else
        echo "$target: FOUND A FAULT (exit $status); see $log and $WORK/findings/$target/"
        failed=1
    fi
done
exit $failed

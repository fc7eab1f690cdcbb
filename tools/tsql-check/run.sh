#!/usr/bin/env bash
# The T-SQL check: varnholt-tsql-texts writes every SQL Server text the
# report can send, and grammar/check.js parses each with a T-SQL grammar.
# Fails naming the selection and the position of a text that does not
# parse; prints how many texts it checked. Needs a build (BUILD_DIR, by
# default ./build) and node; installs the grammar when it is missing.
set -euo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

bash "$HERE/install.sh"
texts="$(mktemp --suffix=.jsonl)"
trap 'rm -f "$texts"' EXIT
"$BUILD_DIR/bin/varnholt-tsql-texts" "$texts"
node "$HERE/grammar/check.js" "$texts"

#!/usr/bin/env bash
# Installs the T-SQL grammar the check runs with (node-sql-parser, at the
# version package-lock.json pins) into grammar/node_modules, with `npm ci`,
# when it is missing or not that version. Needs node and npm.
set -euo pipefail
GRAMMAR="$(cd "$(dirname "${BASH_SOURCE[0]}")/grammar" && pwd)"
cd "$GRAMMAR"

pinned="$(node -p "require('./package-lock.json').packages['node_modules/node-sql-parser'].version")"
installed="$(node -p "try { require('./node_modules/node-sql-parser/package.json').version } catch (e) { '' }")"
if [ "$installed" = "$pinned" ]; then
    exit 0
fi
echo "正在安装 T-SQL 语法检查用的 npm 包 node-sql-parser $pinned"
log="$(mktemp)"
if ! npm ci --no-audit --no-fund >"$log" 2>&1; then
    echo "安装 npm 包失败。npm 的输出：" >&2
    cat "$log" >&2
    rm -f "$log"
    exit 1
fi
rm -f "$log"

#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the host need, only
# those that are missing. Needs root (or sudo) when something is missing.
set -euo pipefail

PACKAGES=(
    build-essential cmake pkg-config ccache clang-format
    qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
    qt6-translations-l10n
    libgl-dev
    libxlsxwriter-dev libqpdf-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-noto-cjk xvfb xauth poppler-utils qpdf unicode-data unzip sqlite3
    libsqlite3-dev libpq-dev
    postgresql-15
)
# The fuzz targets (scripts/fuzz.sh) need clang and its libFuzzer runtime;
# nothing else does, so they come only when asked for.
if [ -n "${VARNHOLT_FUZZ:-}" ]; then
    PACKAGES+=(clang libclang-rt-14-dev)
fi
# node and npm run the T-SQL check (tools/tsql-check); Debian's come only
# when there are none on PATH, so a newer node already there is kept.
command -v node >/dev/null 2>&1 || PACKAGES+=(nodejs)
command -v npm >/dev/null 2>&1 || PACKAGES+=(npm)
# The check's grammar, from npm at the version its lock file pins.
node_packages() {
    bash "$(dirname "${BASH_SOURCE[0]}")/../tools/tsql-check/install.sh"
}

missing=()
for pkg in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    node_packages
    exit 0
fi

echo "正在安装缺少的 Debian 软件包（需要几分钟）：${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
# The package tools' chatter goes to a log; it is shown only when they fail.
log="$(mktemp)"
if ! { $SUDO apt-get update -qq && \
       $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    echo "安装软件包失败。apt-get 的输出：" >&2
    cat "$log" >&2
    rm -f "$log"
    exit 1
fi
rm -f "$log"
node_packages

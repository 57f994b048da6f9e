#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing XEL02 need, when any is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libsqlite3-dev libcli11-dev
  unixodbc-dev odbc-postgresql tdsodbc postgresql
  xvfb xauth fonts-dejavu-core
  libicu-dev nlohmann-json3-dev
  dpkg-dev desktop-file-utils sqlite3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

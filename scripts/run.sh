#!/usr/bin/env bash
# Installs what is missing, builds, and opens the editor on the embedded demo store.
# Extra arguments go to xel02 (see xel02 --help).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
exec build/host/app/xel02 "$@"

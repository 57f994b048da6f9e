#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds, and runs every test: first the normal
# build, then the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer. Each run
# has a throwaway PostgreSQL server of its own for the store suites on a server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

scripts/check-format.sh

export QT_QPA_PLATFORM=offscreen
scripts/build.sh build
scripts/with-postgres.sh ctest --test-dir build --output-on-failure --parallel "$(nproc)"

if [ "${XEL_SKIP_SANITIZERS:-0}" != 1 ]; then
  scripts/build.sh build-asan -DXEL_SANITIZE=ON
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt \
    scripts/with-postgres.sh ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
fi

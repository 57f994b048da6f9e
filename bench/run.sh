#!/usr/bin/env bash
# Builds and runs every benchmark, then prints one table with the targets.
# Usage: bench/run.sh [BUILD_DIR]   (default: build)
# The generated SQLite stores are kept in the temporary folder between runs (xel02-bench-*.db).
# With a PostgreSQL server the store's work is measured there too, through ODBC: XEL02_BENCH_PG names
# its database ("odbc:..."); run through scripts/with-postgres.sh, the throwaway test server's is
# used, and its stores are generated once per server.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" --target xel_bench >/dev/null
export XEL02_BENCH_PG=${XEL02_BENCH_PG:-${XEL02_TEST_PG:-}}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$dir"/bench/xel_bench --benchmark_format=json --benchmark_out="$out" >/dev/null
python3 bench/table.py "$out"

#!/usr/bin/env bash
# Builds and runs every benchmark, then prints one table with the targets.
# The generated stores are kept in the temporary folder between runs (xel02-bench-*.db).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh build >/dev/null
out=$(mktemp)
trap 'rm -f "$out"' EXIT
build/bench/xel_bench --benchmark_format=json --benchmark_out="$out" >/dev/null
python3 bench/table.py "$out"

#!/usr/bin/env bash
# Peak memory and time of `xel02 import --dry-run` on a generated file of about 50 MB in each form,
# and of the search for keys named twice across its rows (the file with one key repeated last).
# Usage: bench/import-memory.sh [BUILD_DIR] [MEGABYTES]   (defaults: build, 50)
set -euo pipefail
cd "$(dirname "$0")/.."
xel02=${1:-build}/host/app/xel02
megabytes=${2:-50}
work=$(mktemp -d "${TMPDIR:-/tmp}/xel02-import-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
db=(--db "sqlite:$work/store.db")
"$xel02" schema "${db[@]}" --apply --demo >/dev/null

# Variables of 250 characters each in the demo store's class 0001, until the file is that large.
python3 - "$work" "$megabytes" <<'PY'
import json, sys
work, megabytes = sys.argv[1], int(sys.argv[2])
rows = megabytes * 1_000_000 // 355
variables = [{"class": "0001", "key": f"BENCH_{i:07d}", "value": "x" * 250, "type": "T",
              "description": "Variable de prueba"} for i in range(rows)]
with open(f"{work}/big.json", "w") as out:
    json.dump({"classes": [], "variables": variables}, out, ensure_ascii=False)
variables.append(dict(variables[0]))
with open(f"{work}/twice.json", "w") as out:
    json.dump({"classes": [], "variables": variables}, out, ensure_ascii=False)
PY
python3 - "$work" <<'PY'
import csv, json, sys
work = sys.argv[1]
rows = json.load(open(f"{work}/big.json"))["variables"]
fields = ["code", "parent", "position", "class", "key", "value", "type", "description"]
with open(f"{work}/big.csv", "w", newline="") as out:
    writer = csv.writer(out, lineterminator="\r\n")
    writer.writerow(["record"] + fields)
    for row in rows:
        writer.writerow(["variable"] + [row.get(field, "") for field in fields])
PY
for file in big.json big.csv twice.json; do
  size=$(stat -c %s "$work/$file")
  /usr/bin/time -f "%M %e" -o "$work/time" "$xel02" import "${db[@]}" "$work/$file" --dry-run \
    --max-size 1G >/dev/null 2>&1 || true
  read -r kib seconds < <(tail -1 "$work/time")
  printf '%-10s %6.1f MB  peak %5d MB (%.1fx the file)  %5.2f s\n' "$file" \
    "$(echo "$size / 1000000" | bc -l)" $((kib / 1024)) "$(echo "$kib * 1024 / $size" | bc -l)" \
    "$seconds"
done

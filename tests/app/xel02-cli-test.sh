#!/usr/bin/env bash
# Runs the command-line operations of the xel02 program on stores of their own, without a display:
# exit codes and messages, get and set, list, and export then import in both forms. Prints
# "N passed, M failed" and fails when any check failed.
set -uo pipefail
source "$(dirname "$0")/../support/checks.sh"
xel02=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/data XEL02_REGISTRY=$home/registry
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
cd "$home"

run() {  # run EXPECTED_CODE ARGS... : runs xel02 with its output in $out and its errors in $err
  local expected=$1
  shift
  "$xel02" "$@" >out.txt 2>err.txt
  local code=$?
  out=$(cat out.txt) err=$(cat err.txt)
  [ "$code" = "$expected" ] || { echo "xel02 $*: exit $code, expected $expected: $out $err"; return 1; }
}
says() { grep -qF -- "$1" err.txt || { echo "missing \"$1\" in: $err"; return 1; }; }
prints() { grep -qF -- "$1" out.txt || { echo "missing \"$1\" in: $out"; return 1; }; }
silent() { [ ! -s out.txt ] || { echo "data on the output: $out"; return 1; }; }
same() { cmp -s "$1" "$2" || { echo "$1 and $2 differ"; diff "$1" "$2" | head; return 1; }; }

db=(--db "sqlite:$home/store.db")
"$xel02" schema "${db[@]}" --apply --demo >/dev/null

# Wrong usage: exit 2, the reason and the usage on the error stream, nothing on the output.
for args in "get" "set IVA" "get IVA extra" "export --format xml" "import" "list --dry-run" \
  "set IVA 1 --class 0001" "import all.json --max-size 1Q" "import all.json --max-size 0" \
  "import all.json --max-size 999999999999G" "find" "find a b" "find a --format csv" \
  "find a --class 0001" "revert" "history IVA --class 0001" "history --format csv" \
  "revert 1 --since 2026-01-01" "export --user ana"; do
  check "usage: $args" run 2 $args "${db[@]}"
  check "usage explained: $args" says "Usage: xel02"
  check "usage, one line and where to read more: $args" test "$(wc -l <err.txt)" = 3
  check "usage, no data: $args" silent
done

# --trace-sql is a global option: before or after any command, it writes down what the command
# sent to the store.
for at in before after; do
  rm -f "trace-$at.log"
  [ $at = before ] && args=(--trace-sql "trace-$at.log" get IVA) || args=(get IVA --trace-sql "trace-$at.log")
  check "--trace-sql $at the command" run 0 "${args[@]}" "${db[@]}"
  check "--trace-sql $at the command: the query written" grep -q "^SELECT .*Cf_Variable" "trace-$at.log"
done
check "--trace-sql for schema" run 0 --trace-sql trace-schema.log schema "${db[@]}" --apply
check "--trace-sql for schema: written" test -s trace-schema.log

# get and set, on the demo store made on first use.
check "get from the demo store" run 0 get IVA
check "demo store value" test "$out" = 16

# Without a home folder of its own the demo store is refused, and nothing is made anywhere else.
mkdir shared
for setting in "-u HOME" "HOME=relative"; do
  env -u XDG_DATA_HOME $setting TMPDIR="$home/shared" "$xel02" get IVA >out.txt 2>err.txt
  check "no home ($setting) refused" test $? = 1
  check "no home ($setting) asks for --db or HOME" says "set HOME to the user's home folder, or name a store with --db"
  check "no home ($setting) made nothing" test -z "$(ls -A shared)" -a ! -e relative
done
check "set a negative number" run 0 set "${db[@]}" IVA -2.5
check "set is silent" silent
check "round trip" test "$("$xel02" get "${db[@]}" iva)" = -2.5
"$xel02" export "${db[@]}" >before.json
for refused in "IVA abc:IVA: a numeric (N) value must read as a number" \
  "SEG_BITACORA 2:SEG_BITACORA: a 0-or-1 (B) value must be 0 or 1, not \"2\"" \
  "VTA_MONEDA  :VTA_MONEDA: a value must be given" \
  "NO_EXISTE 1:there is no variable \"NO_EXISTE\""; do
  read -r key value <<<"${refused%%:*}"
  check "refused: $key" run 1 set "${db[@]}" "$key" "$value"
  check "refused, why: $key" says "xel02: ${refused#*:}"
done
check "unknown key" run 1 get "${db[@]}" NO_EXISTE
check "unknown key, no data" silent
"$xel02" export "${db[@]}" >after.json
check "refused values change nothing" same before.json after.json

# list: the tree or one class's sub-tree, one tab-separated line per entry.
check "list" run 0 list "${db[@]}"
check "list shows a class" prints "$(printf 'class\t0003/0010/0012\tCertificados de sello digital')"
check "list shows a variable" prints "$(printf 'variable\t0001\tIVA\t-2.5')"
check "list of a class" run 0 list "${db[@]}" 0010
check "list of a class: its first line" test "$(head -1 out.txt)" = "$(printf 'class\t0003/0010\tFacturación electrónica')"
check "list of a class: only its sub-tree" test "$(cut -f2 out.txt | sort -u | tr '\n' ' ')" = "0003/0010 0003/0010/0012 "
check "list of an unknown class" run 1 list "${db[@]}" 9999
check "unknown class named" says "xel02: no class of the tree has the code \"9999\""

# find: the editor's search, case and accents aside, one line per match in the tree's order.
check "find" run 0 find "${db[@]}" FACTURACION
check "find a class by its description" test "$out" = "$(printf 'class\tRAIZ/Ventas/Facturación electrónica\t0010')"
check "find in the tree's order" run 0 find "${db[@]}" iva
check "find: a sub-class's variables before its parent's own" test "$(cut -f3 out.txt | head -2 | tr '\n' ' ')" = "RET_IVA_FLETES IVA "
check "find as json" run 0 find "${db[@]}" --format json ret_iva_fletes
check "find as json: one match" test "$(grep -c '"kind": ' out.txt)" = 1
check "find as json: its path" prints '"path": "RAIZ/Impuestos/Retenciones/RET_IVA_FLETES"'
check "find nothing" run 0 find "${db[@]}" "no hay tal cosa"
check "find nothing: no line" silent

# Values with quotes, commas, line breaks, tabs and accents survive export and import byte for
# byte, in both forms, into an empty store.
tricky=$'Él dijo "sí", luego\r\nno;\ttab \\ y \'comillas\'\n'
check "set a tricky text" run 0 set "${db[@]}" -- VTA_MONEDA "$tricky"
check "get gives it back" cmp -s <("$xel02" get "${db[@]}" VTA_MONEDA) <(printf '%s\n' "$tricky")
check "list of the tricky text" run 0 list "${db[@]}" 0003
check "list keeps it on one line" prints "$(printf 'variable\t0003\tVTA_MONEDA\t%s' \
  "Él dijo \"sí\", luego\\r\\nno;\\ttab \\\\ y 'comillas'\\n")"
for format in json csv; do
  "$xel02" export "${db[@]}" --format $format >all.$format
  check "$format: export, import, nothing changes" run 0 import "${db[@]}" all.$format --dry-run
  check "$format: says so" prints "Nothing changes: the store already matches all.$format (52 rows unchanged)."
  other=(--db "sqlite:$home/other-$format.db")
  "$xel02" schema "${other[@]}" --apply >/dev/null
  check "$format: into an empty store" run 0 import "${other[@]}" all.$format
  check "$format: all inserted" prints "Inserted 12 classes and 40 variables; 0 rows unchanged."
  "$xel02" export "${other[@]}" --format $format >again.$format
  check "$format: byte for byte" same all.$format again.$format
done

check "csv: a header, lines ending in CR LF" \
  test "$(head -1 all.csv)" = $'record,code,parent,position,class,key,value,type,description\r'

# An edited file: the dry run lists the changes and writes nothing; the import applies them.
sed -e 's/"value": "30", "type": "N", "description": "Días de crédito/"value": "45", "type": "N", "description": "Días de crédito/' \
  -e 's/"Inventarios"/"Inventario"/' all.json >edited.json
"$xel02" export "${db[@]}" >before.json
check "dry run" run 0 import "${db[@]}" edited.json --dry-run
line=$(grep -n '"Inventario"' edited.json | cut -d: -f1)
check "dry run: the class" prints "line $line: update class 0002: \"Inventarios\" -> \"Inventario\""
check "dry run: the variable" prints "update variable VTA_DIAS_CREDITO: 30 -> 45"
check "dry run: summary" prints "Would update 1 class and 1 variable; 50 rows unchanged. Nothing was written (dry run)."
"$xel02" export "${db[@]}" >after.json
check "dry run writes nothing" same before.json after.json
check "import" run 0 import "${db[@]}" edited.json
check "import applied" test "$("$xel02" get "${db[@]}" VTA_DIAS_CREDITO)" = 45

# A wrong line names the file and the line, and nothing of the file is written.
sed -e 's/"value": "PROMEDIO"/"value": "PEPS"/' -e 's/"key": "SEG_BITACORA", "value": "1"/"key": "SEG_BITACORA", "value": "sí"/' \
  all.json >wrong.json
line=$(grep -n '"SEG_BITACORA"' wrong.json | cut -d: -f1)
"$xel02" export "${db[@]}" >before.json
check "wrong line" run 1 import "${db[@]}" wrong.json
check "wrong line named" says "xel02: wrong.json:$line: variable SEG_BITACORA: a 0-or-1 (B) value must be 0 or 1"
check "wrong file, no data" silent
"$xel02" export "${db[@]}" >after.json
check "wrong file changes nothing" same before.json after.json
printf 'record,code\r\n' >short.csv
check "malformed csv" run 1 import "${db[@]}" short.csv
check "malformed csv named" says "xel02: short.csv:1: the first line must be the header"
check "missing file" run 1 import "${db[@]}" none.json
check "missing file named" says "xel02: none.json: the file cannot be read"

# Values that a spreadsheet would take for a formula are exported as stored: the file gives back
# what the store holds (see the README on opening such a file safely).
for formula in '=1+2' '+33 55' '-2+3' '@SUM(A1)'; do
  "$xel02" set "${db[@]}" -- VTA_MONEDA "$formula"
  "$xel02" export "${db[@]}" --class 0003 --format csv >formula.csv
  check "csv keeps $formula as stored" grep -qF ",VTA_MONEDA,$formula,T," formula.csv
  "$xel02" set "${db[@]}" VTA_MONEDA x
  check "csv: $formula read back" run 0 import "${db[@]}" formula.csv
  check "csv: $formula as it was" test "$("$xel02" get "${db[@]}" VTA_MONEDA)" = "$formula"
done

# The store named without a password on the command line: XEL02_DB, or a file only its owner
# may read.
iva=$("$xel02" get "${db[@]}" IVA)
check "XEL02_DB names the store" test "$(XEL02_DB="sqlite:$home/store.db" "$xel02" get IVA)" = "$iva"
printf 'sqlite:%s\n' "$home/store.db" >db.conf
for refused in "644:others may read or change it (mode 0644)" \
  "640:others may read or change it (mode 0640)" "604:others may read or change it (mode 0604)" \
  "000-dir:it is not a plain file"; do
  mode=${refused%%:*} conf=db.conf
  [ "$mode" = 000-dir ] && conf=$home
  chmod "${mode%-dir}" db.conf
  check "--db-file $mode refused" run 2 get IVA --db-file "$conf"
  check "--db-file $mode: why" says "xel02: --db-file $conf: ${refused#*:}"
done
chmod 600 db.conf
if [ "$(id -u)" = 0 ]; then
  chown nobody db.conf
  check "--db-file of another user refused" run 2 get IVA --db-file db.conf
  check "--db-file of another user: why" says "it belongs to another user"
  chown root db.conf
fi
check "--db-file 0600 read" run 0 get IVA --db-file db.conf
check "--db-file's store" test "$out" = "$iva"
check "--db-file with --db" run 2 get IVA --db-file db.conf "${db[@]}"

# Control characters from the store reach a terminal escaped, a pipe or a file as stored; error
# messages escape them always.
escapes=$'\e]52;c;ZXZpbA==\a\e[2J\r\n\xc2\x9bx'
"$xel02" set "${db[@]}" -- VTA_MONEDA "$escapes"
check "get into a pipe: the bytes stored" cmp -s <("$xel02" get "${db[@]}" VTA_MONEDA) <(printf '%s\n' "$escapes")
for command in "get VTA_MONEDA" "list 0003" "import $(printf 'bad\e[2J.json')"; do
  script -qec "'$xel02' $command --db 'sqlite:$home/store.db'" /dev/null >tty.txt 2>&1
  check "terminal, $command: nothing raw" bash -c "! LC_ALL=C grep -aqP '\x1b|\x07|\xc2\x9b' tty.txt"
  check "terminal, $command: shown escaped" grep -qF -e '\x1b]52;c;ZXZpbA==\x07' -e '\x1b[2J' tty.txt
done
check "errors escape always" run 1 get "${db[@]}" $'K\e[31m'
check "errors escape always: shown" says 'there is no variable "K\x1b[31m"'

# An import reads no more than --max-size (64 MiB unless raised): a larger file is refused
# before it is read, a pipe or a device as soon as it passes the limit.
truncate -s 65M huge.json
head -c 3000 all.json >small.json
for limited in "huge.json:" "small.json:--max-size 2K" "/dev/zero:--max-size 1M"; do
  file=${limited%%:*}
  check "over the limit: $file" run 1 import "${db[@]}" "$file" ${limited#*:}
  check "over the limit: $file, why" says "xel02: $file: the file is larger than"
done
check "a file of the limit's size is read" run 0 import "${db[@]}" all.json --dry-run \
  --max-size "$(stat -c %s all.json)"
printf 'record,code,parent,position,class,key,value,type,description\r\nvariable,,,,0003,VTA_MONEDA,%s,T,d\r\n' \
  "$(printf 'v%.0s' $(seq 300))" >long.csv
check "dry run: a long value" run 0 import "${db[@]}" long.csv --dry-run
check "dry run: cut after 200 characters" prints "-> $(printf 'v%.0s' $(seq 200))…"

# A server's password never shows, whether given on the command line or kept in the user's
# ODBC data sources.
if [ -n "${XEL02_TEST_PG:-}" ]; then
  field() { sed -n "s/.*;$1=\([^;]*\);.*/\1/p" <<<"$XEL02_TEST_PG"; }
  check "server without the tables" run 1 list --db "$XEL02_TEST_PG"
  check "server: the password masked" says "Pwd=***;"
  check "server: the password never shown" bash -c "! grep -qF -- '$(field Pwd)' err.txt"
  printf '[xeltest]\nDriver=PostgreSQL Unicode\nServername=%s\nPort=%s\nDatabase=postgres\nUsername=%s\nPassword=%s\n' \
    "$(field Server)" "$(field Port)" "$(field Uid)" "$(field Pwd)" >odbc.ini
  check "server by a data source name" \
    bash -c "ODBCINI='$home/odbc.ini' '$xel02' schema --db odbc:DSN=xeltest >/dev/null"
fi

# The history: who changed what, the way back, and the store as it stood.
h=(--db "sqlite:$home/history.db")
"$xel02" schema "${h[@]}" --apply --demo >/dev/null
"$xel02" export "${h[@]}" >original.json
check "set as a host user" run 0 set "${h[@]}" IVA 17 /USR "maria lopez"
check "set as the login user" run 0 set "${h[@]}" IVA 18
check "history of a variable" run 0 history "${h[@]}" iva
check "newest first, by its author" test "$(cut -f3,7 out.txt)" = "$(printf '%s\tvalor 17 → 18\nmaria lopez\tvalor 16 → 17' "$(id -un)")"
first=$(tail -1 out.txt | cut -f1)
check "revert" run 0 revert "${h[@]}" "$first"
check "revert brings the old value" test "$("$xel02" get "${h[@]}" IVA)" = 16
check "the revert is recorded" run 0 history "${h[@]}" --class 0001 --format json
check "the revert names the change" prints "\"reverts\": $first"
"$xel02" set "${h[@]}" IVA 20 >/dev/null
check "export as of a time before the changes" run 0 export "${h[@]}" --as-of 2000-01-01
cp out.txt asof.json
check "as it stood then" same original.json asof.json
check "import of it brings values back" run 0 import "${h[@]}" asof.json
check "back to 16" test "$("$xel02" get "${h[@]}" IVA)" = 16
check "a wrong date" run 1 history "${h[@]}" --since 2026-02-30
check "a wrong date, why" says "is not a date"
check "a change that is not there" run 1 revert "${h[@]}" 999
check "prune" run 0 history "${h[@]}" --prune-before 2999-01-01
check "the prune is recorded" test "$("$xel02" history "${h[@]}" | wc -l)" = 1
check "before a prune, as-of cannot tell" run 1 export "${h[@]}" --as-of 2000-01-01
sqlite3 "$home/store.db" 'DROP TABLE XEL_Historial' 2>/dev/null ||
  python3 -c 'import sqlite3,sys; sqlite3.connect(sys.argv[1]).execute("DROP TABLE XEL_Historial")' "$home/store.db"
check "no history table" run 1 history "${db[@]}"
check "no history table, how to add it" says "ERR-ID:7500040"
check "set still works without it" run 0 set "${db[@]}" IVA 3

report

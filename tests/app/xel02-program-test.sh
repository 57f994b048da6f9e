#!/usr/bin/env bash
# Runs the xel02 program in a home of its own: options, the schema command, a store without the
# tables, no display, and a picture of the editor drawn through the registered component with the
# statements traced. Prints "N passed, M failed" and fails when any check failed.
set -uo pipefail
source "$(dirname "$0")/../support/checks.sh"
xel02=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XEL02_REGISTRY=$home/registry
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

run() {  # run EXPECTED_CODE ARGS... : runs xel02, keeps its output in $out, checks the exit code
  local expected=$1
  shift
  out=$("$xel02" "$@" 2>&1)
  local code=$?
  [ "$code" = "$expected" ] || { echo "xel02 $*: exit $code, expected $expected: $out"; return 1; }
}

check "version" run 0 --version
check "version text" contains "xel02 2.0"
check "unknown option" run 2 --colour
check "unknown option explained" contains "not expected: --colour"

store=$home/store.db
check "schema printed" run 0 schema --db "sqlite:$store"
check "schema names the classes table" contains "CREATE TABLE IF NOT EXISTS XEL_Clase_Variable"

check "no tables" run 1 --db "sqlite:$store" --screenshot "$home/none.png"
check "no tables named" contains "lacks the tables XEL_Clase_Variable, XEL_Configuracion"
check "no tables, no picture" test ! -e "$home/none.png"

check "no display" run 2 --db "sqlite:$store"
check "no display explained" contains "xvfb-run"

check "schema applied with demo" run 0 schema --db "sqlite:$store" --apply --demo
check "picture drawn" run 0 --db "sqlite:$store" --screenshot "$home/editor.png" --trace-sql "$home/trace.sql"
check "picture is a PNG" grep -q PNG <(head -c 8 "$home/editor.png")
check "component registered" grep -q "XEL02.Pantalla" "$home/registry"
check "load traced" grep -qxF "SELECT * FROM XEL_Clase_Variable WHERE Cv_Padre = '0000' ORDER BY Cv_Descripcion " "$home/trace.sql"

check "register: a library's name escaped" env XEL02_LIBRARY=$'/nowhere/lib\e[2J.so' bash -c \
  "'$xel02' register 2>&1 | grep -qF 'lib\\x1b[2J.so'"

# The trace holds every value: it is its owner's alone whatever the umask, a symbolic link in its
# place is not followed, and a value cannot forge a line of it.
printf '{"classes": [{"code": "77\\n-- forged", "parent": "0000", "position": "0077", "description": "Otra"}], "variables": []}' >"$home/forged.json"
"$xel02" import --db "sqlite:$store" "$home/forged.json" >/dev/null
rm -f "$home/trace.sql"
check "traced with umask 000" bash -c "umask 000 && '$xel02' --db 'sqlite:$store' --screenshot '$home/traced.png' --trace-sql '$home/trace.sql' 2>/dev/null"
check "trace is its owner's alone" test "$(stat -c %a "$home/trace.sql")" = 600
check "trace: a line break in a value escaped" grep -qF "= '77\n-- forged'" "$home/trace.sql"
check "trace: no forged line" bash -c "! grep -q '^-- forged' '$home/trace.sql'"
ln -s "$home/victim" "$home/link.sql"
check "trace through a symbolic link refused" run 1 --db "sqlite:$store" --screenshot "$home/x.png" --trace-sql "$home/link.sql"
check "trace link refusal explained" contains "it is a symbolic link"
check "trace link: nothing written" test ! -e "$home/victim"

# Nobody is there to answer a message while a picture is drawn: it is told on the error stream and
# answered by its default button, the picture is still drawn, and the run ends with 1.
clash=$home/clash.db
"$xel02" schema --db "sqlite:$clash" --apply >/dev/null
printf '{"classes": [{"code": "ABC", "parent": "0000", "position": "0001", "description": "Clase"}],
 "variables": [{"class": "ABC", "key": "ABC", "value": "1", "type": "N", "description": "Igual"}]}' >"$home/clash.json"
"$xel02" import --db "sqlite:$clash" "$home/clash.json" >/dev/null
rm -f "$home/clash.png"
out=$(timeout 60 "$xel02" --db "sqlite:$clash" --screenshot "$home/clash.png" 2>&1)
check "a message while drawing ends the run with 1" test $? = 1
check "the message told with its identifier" contains "xel02: ERR-ID:75000"
check "the picture drawn all the same" grep -q PNG <(head -c 8 "$home/clash.png")

# How the editor reads its tree: per class by default, in two reads when asked; --load wins over
# XEL02_LOAD, and a value that is neither is refused.
# A store of plain codes of its own: one whose codes hold a line break is read per class anyway.
loads=$home/loads.db
"$xel02" schema --db "sqlite:$loads" --apply --demo >/dev/null
picture() {  # picture TRACE OPTIONS...
  run 0 --db "sqlite:$loads" --screenshot "$home/load.png" --trace-sql "$home/$1.sql" "${@:2}"
}
two_reads() {
  # The two tables' reads; whether the store keeps a history is asked apart.
  [ "$(grep '^SELECT' "$home/$1.sql" | grep -vic historial)" = 2 ] &&
    ! grep -q 'WHERE Cv_Padre' "$home/$1.sql"
}
check "bulk load by option" picture option --load bulk
check "bulk load by option, two reads" two_reads option
XEL02_LOAD=bulk check "bulk load by environment" picture environment
check "bulk load by environment, two reads" two_reads environment
XEL02_LOAD=bulk check "the option wins" picture option-wins --load classes
check "the option wins, per class" grep -qF "WHERE Cv_Padre = '0000'" "$home/option-wins.sql"
check "wrong load" run 2 --load fast
check "wrong load explained" contains 'fast not in'
XEL02_LOAD=fast check "wrong load in the environment" run 2 --db "sqlite:$store"
check "wrong load in the environment explained" contains 'XEL02_LOAD is classes or bulk, not "fast"'

report

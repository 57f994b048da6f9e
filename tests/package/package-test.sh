#!/usr/bin/env bash
# Builds the Debian package into a folder of its own, looks into it, and runs the program unpacked
# from it, with a home and a machine registry of its own: it needs no root and changes nothing of
# the machine. Prints "N passed, M failed" and fails when any check failed.
# Usage: package-test.sh CPACK BUILD_DIR PRIVATE_LIBDIR   (PRIVATE_LIBDIR e.g. /usr/lib/xel02)
set -uo pipefail
source "$(dirname "$0")/../support/checks.sh"
cpack=$1 build=$2 libdir=$3
for tool in dpkg-deb sqlite3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh)"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
export XEL02_SYSTEM_REGISTRY=$work/machine/registry QT_QPA_PLATFORM=offscreen
unset XEL02_REGISTRY XEL02_LIBRARY DISPLAY WAYLAND_DISPLAY

run() {  # run EXPECTED_CODE ARGS... : runs the unpacked xel02, keeps its output in $out
  local expected=$1
  shift
  out=$("$root/usr/bin/xel02" "$@" 2>&1)
  local code=$?
  [ "$code" = "$expected" ] || { echo "xel02 $*: exit $code, expected $expected: $out"; return 1; }
}
field() { dpkg-deb -f "$deb" "$1"; }
matches() { grep -qE -- "$2" <<<"$1" || { echo "\"$1\" does not match $2"; return 1; }; }
component_line() {  # component_line REGISTRY LIBRARY : the registry sends XEL02.Pantalla there
  grep -qP "^class\t[^\t]+\tXEL02\.Pantalla\t\Q$2\E$" "$1" 2>/dev/null
}
# A maintainer script as dpkg would run it, with the machine's paths sent into the test's folder.
maintainer() {  # maintainer SCRIPT ARGUMENT
  sed -e "s|/usr/bin/xel02|$root/usr/bin/xel02|g" -e "s|/var/lib/xel02/registry|$XEL02_SYSTEM_REGISTRY|g" \
    "$work/control/$1" >"$work/$1" && sh "$work/$1" "$2"
}

# The package.
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
deb=$(ls "$work"/out/xel02_*.deb)
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
share=./usr/share
for path in ./usr/bin/xel02 ".$libdir/libXEL02.so" ".$libdir/libxel_com.so" \
  $share/applications/xel02.desktop $share/icons/hicolor/scalable/apps/xel02.svg \
  $share/xel02/schema-sqlite.sql $share/xel02/schema-postgresql.sql \
  $share/xel02/schema-sqlserver.sql $share/xel02/demo-data.sql \
  $share/man/man1/xel02.1.gz $share/bash-completion/completions/xel02; do
  check "package holds $path" grep -qxF "$path" <<<"$contents"
done
check "everything under /usr but the registry's folder" \
  test -z "$(grep -vE '^\./((usr/.*)|var/|var/lib/|var/lib/xel02/)?$' <<<"$contents")"
check "the registry's folder is root's alone" \
  grep -qE '^drwxr-xr-x root/root .* \./var/lib/xel02/$' <(dpkg-deb -c "$deb")

check "package name" test "$(field Package)" = xel02
check "section" test "$(field Section)" = database
check "maintainer" matches "$(field Maintainer)" '^[^<]+ <[^@>]+@[^>]+>$'
for library in libqt6widgets6 libsqlite3-0 libodbc libicu; do
  check "depends on $library" matches "$(field Depends)" "(^|, )$library"
done
check "own libraries are no dependency" test -z "$(field Depends | grep -i xel)"

dpkg-deb -e "$deb" "$work/control"
for script in postinst prerm postrm; do
  check "$script is executable" test -x "$work/control/$script"
  check "$script is valid shell" sh -n "$work/control/$script"
done

# The program, unpacked anywhere.
dpkg-deb -x "$deb" "$root"
check "every RUNPATH is absolute or beside its file" sound_runpaths "$root"
check "version" run 0 --version
check "version is the package's" test "$out" = "xel02 $(field Version)"
runtime_of() { realpath "$(ldd "$1" | awk '$1 == "libxel_com.so" {print $3}')"; }
for binary in usr/bin/xel02 "${libdir#/}/libXEL02.so"; do
  check "$binary finds the object model's run time unpacked" \
    test "$(runtime_of "$root/$binary")" = "$root$libdir/libxel_com.so"
done

check "schema printed" run 0 schema --db "sqlite:$work/printed.db"
check "installed SQLite schema is the program's" \
  diff <(grep -v '^--' "$root/usr/share/xel02/schema-sqlite.sql") <(echo "$out")
check "SQL Server schema in batches" grep -qx GO "$root/usr/share/xel02/schema-sqlserver.sql"

# The installed SQL makes the store the program's own demo seeding makes; the test stands in for
# the getdate() the program's SQLite connection provides.
rows() {
  sqlite3 "$1" "SELECT Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre, Cv_Descripcion FROM XEL_Clase_Variable
                ORDER BY 1; SELECT Cf_Variable, Cf_Valor, Cf_Descripcion, Cf_Tipo,
                Cv_Cve_Clase_Variable FROM XEL_Configuracion ORDER BY 1"
}
store=$work/installed.db
sqlite3 "$store" <"$root/usr/share/xel02/schema-sqlite.sql"
sed "s/getdate()/strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')/g" \
  "$root/usr/share/xel02/demo-data.sql" | sqlite3 "$store"
check "demo seeded by the program" run 0 schema --db "sqlite:$work/seeded.db" --apply --demo
check "installed demo data is the program's" diff <(rows "$store") <(rows "$work/seeded.db")
check "demo data is there" test -n "$(rows "$store")"

# The editor through the unpacked library, registered for the user as the machine has none.
check "picture of the installed demo data" run 0 --db "sqlite:$store" --screenshot "$work/editor.png"
check "picture is a PNG" grep -q PNG <(head -c 8 "$work/editor.png")
check "user registered the unpacked library" \
  component_line "$HOME/config/xel02/registry" "$root$libdir/libXEL02.so"

# The machine's registry, as the maintainer scripts keep it.
export HOME=$work/other XDG_CONFIG_HOME=$work/other/config XDG_DATA_HOME=$work/other/data
# Whatever the umask and the variables of whoever runs it, postinst records the installed library
# in a registry only root can change.
careless() {  # careless SCRIPT ARGUMENT : the maintainer script under umask 000, another library named
  (umask 000 && export XEL02_LIBRARY="$root$libdir/libxel_com.so" && maintainer "$@")
}
check "postinst registers" careless postinst configure
check "machine registry names the library" \
  component_line "$XEL02_SYSTEM_REGISTRY" "$root$libdir/libXEL02.so"
check "machine registry's folder and file" \
  test "$(stat -c %a "$(dirname "$XEL02_SYSTEM_REGISTRY")" "$XEL02_SYSTEM_REGISTRY")" = $'755\n644'
check "register --system takes no other library" \
  env XEL02_LIBRARY="$root$libdir/libxel_com.so" "$root/usr/bin/xel02" register --system
check "machine registry still names the installed library" \
  component_line "$XEL02_SYSTEM_REGISTRY" "$root$libdir/libXEL02.so"
check "editor through the machine's entry" run 0 --screenshot "$work/machine.png"
check "no user entry needed" test ! -e "$HOME/config/xel02/registry"

mkdir -p "$HOME/config/xel02"
printf 'class\t{00000000-0000-0000-0000-000000000000}\tXEL02.Pantalla\t%s\n' \
  "$root$libdir/libxel_com.so" >"$HOME/config/xel02/registry"
check "the user's own entry wins" run 1 --screenshot "$work/user.png"
check "the user's library was tried" contains "libxel_com.so is no component library"
rm "$HOME/config/xel02/registry"

export XEL02_REGISTRY=$work/own
check "a registry of its own stands alone" run 0 --screenshot "$work/own.png"
check "own registry got the entry" component_line "$work/own" "$root$libdir/libXEL02.so"
unset XEL02_REGISTRY

machine=$XEL02_SYSTEM_REGISTRY
touch "$work/plain"
XEL02_SYSTEM_REGISTRY=$work/plain/registry
check "unwritable machine registry is an error" run 1 register --system
check "the error names the file" contains "$work/plain/registry"
XEL02_SYSTEM_REGISTRY=$machine

# A program without its component beside it takes no other, not even the one it was built with.
mkdir -p "$work/lonely/usr/bin" "$work/lonely$libdir"
cp "$root/usr/bin/xel02" "$work/lonely/usr/bin/"
cp "$root$libdir/libxel_com.so" "$work/lonely$libdir/"
out=$(XEL02_REGISTRY=$work/lonely/registry "$work/lonely/usr/bin/xel02" register 2>&1)
check "a program without its library registers none" test $? = 1
check "the missing library is named" contains "$work/lonely$libdir/libXEL02.so is missing"

check "prerm unregisters" maintainer prerm remove
check "machine entry gone" test -z "$(grep XEL02 "$XEL02_SYSTEM_REGISTRY")"
check "postrm removes the empty registry" maintainer postrm remove
check "machine registry gone" test ! -e "$XEL02_SYSTEM_REGISTRY"

# The manual page and the bash completion, as man and bash find them.
check "manual page xel02(1)" grep -q '^\.TH XEL02 1 ' <(gzip -dc "$root/usr/share/man/man1/xel02.1.gz")
check "completion completes xel02" \
  bash -c "source '$root/usr/share/bash-completion/completions/xel02' && complete -p xel02"

# The desktop entry starts the installed program with the installed icon.
desktop=$root/usr/share/applications/xel02.desktop
check "desktop entry starts xel02" test -x "$root/usr/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
check "desktop entry's icon" \
  test -f "$root/usr/share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$desktop").svg"
if command -v desktop-file-validate >/dev/null; then
  check "desktop entry is valid" desktop-file-validate "$desktop"
fi

report

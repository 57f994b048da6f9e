# What the tests that run programs share; sourced by them. Each check counts, a failed one names
# itself, and `report` prints "N passed, M failed" and fails when any check failed.
passed=0 failed=0
check() {  # check NAME COMMAND... : the command must succeed
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
  fi
}
contains() { grep -qF -- "$1" <<<"$out" || { echo "missing \"$1\" in: $out"; return 1; }; }
report() {
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
}
# sound_runpaths FOLDER : every ELF file under the folder searches for libraries only in absolute
# folders or beside itself; an empty element means the current folder, a relative one a folder
# under it.
sound_runpaths() {
  local file unsound=""
  while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file")" = $'\x7fELF' ] || continue
    unsound+=$(readelf -d "$file" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p' |
      awk -F: -v file="$file" '{ if (NF == 0) print file ": empty";
        for (i = 1; i <= NF; i++) if ($i !~ /^(\/|\$ORIGIN(\/|$)|\$\{ORIGIN\}(\/|$))/)
          print file ": \"" $i "\"" }')
  done < <(find "$1" -type f \( -perm -u+x -o -name '*.so*' \) -print0)
  [ -z "$unsound" ] || { echo "unsound RUNPATH: $unsound"; return 1; }
}

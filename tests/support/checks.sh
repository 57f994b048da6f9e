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

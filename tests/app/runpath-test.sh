#!/usr/bin/env bash
# The programs and libraries look for the libraries they need only in absolute folders or beside
# themselves ($ORIGIN): no empty or relative element in any RUNPATH, and a library planted in the
# current folder under the name of one xel02 needs is never loaded. Prints "N passed, M failed".
# Usage: runpath-test.sh BUILD_DIR XEL02 PLANTED_LIBRARY
set -uo pipefail
source "$(dirname "$0")/../support/checks.sh"
build=$1 xel02=$2 planted=$3

check "every built RUNPATH is absolute or beside its file" sound_runpaths "$build"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$planted" "$folder/libodbc.so.2"
(cd "$folder" && LD_LIBRARY_PATH= "$xel02" --version >/dev/null 2>&1)
check "the planted library was not loaded" test ! -e "$folder/xel02-planted-library-ran"

report

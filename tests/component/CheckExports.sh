#!/bin/sh
# The component library's dynamic symbol table defines the four server entry points and nothing
# else. Usage: CheckExports.sh NM LIBRARY
set -eu
exported=$("$1" -D --defined-only "$2" | awk '{print $NF}' | sort | tr '\n' ' ')
expected="DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer "
if [ "$exported" != "$expected" ]; then
  echo "exported: $exported"
  exit 1
fi

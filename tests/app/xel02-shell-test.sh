#!/usr/bin/env bash
# The manual page and the bash completion made from xel02's command line: the page tells the
# options and commands `xel02 --help` and each command's help tell, no more and no fewer, and the
# completion offers commands, options and option values where a shell user expects them.
# Prints "N passed, M failed" and fails when any check failed.
# Usage: xel02-shell-test.sh XEL02 MAN_PAGE BASH_COMPLETION
set -uo pipefail
source "$(dirname "$0")/../support/checks.sh"
xel02=$1 page=$2 completion=$3

# The page's text without roff's escapes.
text=$(sed -e 's/\\-/-/g' -e 's/\\&//g' -e 's/\\e/\\/g' "$page")
commands=$("$xel02" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]\+\) .*/\1/p')
help=$("$xel02" --help; for command in $commands; do "$xel02" "$command" --help; done)
options() { grep -oE -- '(^|[ ,])--[a-z][a-z-]+' | tr -d ' ,' | sort -u; }
check "commands listed" test -n "$commands"
check "the page and the help tell the same options" diff <(options <<<"$help") <(options <<<"$text")
for command in $commands; do
  usage=$("$xel02" "$command" --help | sed -n 's/^Usage: //p')
  check "the page shows: $usage" grep -qxF ".SS \"$usage\"" <<<"$text"
  description=$("$xel02" --help | sed -n "s/^  $command  *//p")
  check "the page describes $command" grep -qF "$description" <<<"$text"
done
check "the page's version is the program's" grep -qF "\"$("$xel02" --version)\"" <<<"$text"
command -v man >/dev/null && check "the page reads without warnings" \
  test -z "$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"

# Completion: the words typed (the last one being completed) and words it must offer.
source "$completion"
offers() {  # offers "WORDS TYPED" WORD... : completing the last word offers each WORD
  local typed=$1
  shift
  read -ra COMP_WORDS <<<"$typed"
  [[ $typed == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _xel02
  local word
  for word in "$@"; do
    [[ " ${COMPREPLY[*]} " == *" $word "* ]] || { echo "\"$typed\" offers ${COMPREPLY[*]}, not $word"; return 1; }
  done
}
offers_none() { offers "$@" && [ ${#COMPREPLY[@]} = 0 ] || { echo "\"$1\" offers ${COMPREPLY[*]}"; return 1; }; }
cd "$(mktemp -d)" && touch vars.json && trap 'rm -rf "$PWD"' EXIT
check "every command" offers "xel02 " $commands
check "a command's start" offers "xel02 exp" export
check "global options" offers "xel02 --d" --db --db-file
check "a command after a global option's value" offers "xel02 --db sqlite:x.db li" list
check "a command's own options" offers "xel02 export --f" --format
check "global options after the command" offers "xel02 get --t" --trace-sql
check "an option's choices" offers "xel02 export --format " json csv
check "a file for an option" offers "xel02 --db-file va" vars.json
check "a file to import" offers "xel02 import v" vars.json
check "no other command's option" offers_none "xel02 get --dry"
check "no command after a command" offers_none "xel02 get exp"
report

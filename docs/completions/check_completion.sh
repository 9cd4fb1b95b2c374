#!/usr/bin/env bash
# Sources the completion script and asks it for completions as bash would: each case is a command
# line (the last word is the one being typed) and the completions expected, sorted.
# Usage: check_completion.sh toolset.bash
set -u
source "$1"
cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
mkdir sub
touch strings.tdb old.tdb game.mix model.vxm de.po notes.txt

status=0
expect() {
  local line=$1 wanted=$2 got program
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  program=${COMP_WORDS[0]}
  "_toolset_$program"
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
  if [ "$got" != "$wanted" ]; then
    echo "'$line': got '$got', expected '$wanted'"
    status=1
  fi
}

expect "tdbtool ex" "export-header export-po export-table export-xliff"
expect "tdbtool dump " "old.tdb strings.tdb sub"
expect "tdbtool --salvage check --" "--help --json --language --max-ratio --salvage --translations"
expect "tdbtool import-po strings.tdb " "de.po old.tdb strings.tdb sub"
expect "tdbtool merge a b c -o s" "strings.tdb sub"
expect "tdbtool import-po a b --language " ""
expect "mixtool " "--help --version extract list verify"
expect "mixtool list -" "--help --json --slash --verbose -v"
expect "mixtool extract g" "game.mix"
expect "mixtool extract game.mix -C " "sub"
expect "vxmtool dump " "model.vxm sub"
expect "bundlor " "sub"
expect "bundlor sub " "game.mix sub"
expect "facetrue -" "--quiet --version"
expect "strandex s" "strings.tdb sub"
exit $status

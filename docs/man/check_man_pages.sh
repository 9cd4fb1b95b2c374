#!/bin/sh
# Renders each manual page with groff (the formatter man uses) and fails when groff warns about
# anything, the page lacks one of the sections every page has, or its title line has no date.
# Usage: check_man_pages.sh FOLDER PAGE...
set -eu
folder=$1
shift
status=0
for page in "$@"; do
  warnings=$(groff -man -Tutf8 -ww -z "$folder/$page.1" 2>&1)
  if [ -n "$warnings" ]; then
    echo "$page.1: $warnings"
    status=1
  fi
  text=$(groff -man -Tutf8 -P -cbou "$folder/$page.1" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION EXAMPLES "REPORTING BUGS" "SEE ALSO"; do
    if ! printf '%s\n' "$text" | grep -qx "$section"; then
      echo "$page.1: no $section section"
      status=1
    fi
  done
  if ! grep -q '^\.TH [A-Z]* 1 "[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]" ' "$folder/$page.1"; then
    echo "$page.1: no date in .TH"
    status=1
  fi
done
exit $status

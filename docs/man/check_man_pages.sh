#!/bin/sh
# Renders each manual page with groff (the formatter man uses) and fails when groff warns about
# anything or the page has no NAME section.
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
  if ! groff -man -Tutf8 -P -cbou "$folder/$page.1" 2>/dev/null | grep -q "^NAME"; then
    echo "$page.1: no NAME section"
    status=1
  fi
done
exit $status

#!/bin/bash
# Work that grows with the number of problems in the input, at one size and at ten times that
# size (bench_lib.sh: alternating runs, medians); each must grow linearly, goal <= 12:
#
#   export-header of a database whose numeric IDs come in pairs (bench/tdb_problems_gen), so
#   that every second string is renumbered while it loads
#   check of the same database: every renumbered string and every string of a missing category
#   is a line
#   import-table of a text table of category lines "[0,name]" only, each numbered on import
#
#   bench/tdb_linear_bench.sh [BUILD_DIR] [WORK_DIR] [ROUNDS] [STRINGS] [CATEGORIES]
#
# STRINGS (default 40000) and CATEGORIES (default 60000) are the smaller sizes; the larger are
# ten times those. The data are made once in WORK_DIR (default /tmp/tdb-linear-bench).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/bench_lib.sh"
bench_setup /tmp/tdb-linear-bench "${@:1:3}"
strings=${4:-40000}
categories=${5:-60000}
tdbtool=$build/bin/tdbtool
bench_require "$tdbtool" "$build/bench/tdb_problems_gen"

# A text table of N category lines with ID 0.
unnumbered_categories() {
  awk -v n="$1" 'BEGIN { printf "\357\273\277"; for (i = 1; i <= n; ++i) printf "[0,Category %d]\r\n", i }'
}

mkdir -p "$work"
cd "$work"
for n in "$strings" $((strings * 10)); do
  [ -f "pairs$n.tdb" ] || "$build/bench/tdb_problems_gen" "pairs$n.tdb" "$n"
done
for n in "$categories" $((categories * 10)); do
  [ -f "zero$n.txt" ] || unnumbered_categories "$n" >"zero$n.txt"
done

big=$((strings * 10))
echo "tdbtool: $tdbtool; data in $work; median of $rounds runs each"
bench_pair "export-header, renumbering $big / $strings" 12 "$rounds" "" \
  "'$tdbtool' export-header pairs$big.tdb out$big.h" \
  "'$tdbtool' export-header pairs$strings.tdb out$strings.h"
bench_pair "check, problems of $big / $strings strings" 12 "$rounds" "" \
  "'$tdbtool' check pairs$big.tdb" \
  "'$tdbtool' check pairs$strings.tdb"
big=$((categories * 10))
bench_pair "import-table, [0,name] lines $big / $categories" 12 "$rounds" "" \
  "'$tdbtool' import-table zero$big.txt zero$big.tdb" \
  "'$tdbtool' import-table zero$categories.txt zero$categories.tdb"
rm -f out*.h zero*.tdb

#!/bin/bash
# tdbtool as whole processes against their peers, in one run (bench_lib.sh: alternating runs,
# medians). Rows and goals:
#
#   import-table of the 100,000-string, 7-language text table   vs  msgfmt on the same texts as
#                                                                   7 .po files        <= 0.15
#   export-header of the database that import wrote (~85 MB)    vs  cp of that file    <= 4
#   check of that database                                      vs  its export-header  <= 1.5
#   import-table of 80,000 categories, one string each          vs  20,000 of them     <= 5
#
# and the peak memory of "tdbtool dump" against the file size (at most 1.5).
#
#   bench/tdbtool_bench.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#
# BUILD_DIR (default build) holds bin/tdbtool and bench/exchange_bench. The data are made once
# in WORK_DIR (default /tmp/tdbtool-bench) and kept for later runs; ROUNDS defaults to 5.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/bench_lib.sh"
bench_setup /tmp/tdbtool-bench "$@"
tdbtool=$build/bin/tdbtool
bench_require "$tdbtool" "$build/bench/exchange_bench" "$(command -v msgfmt || echo msgfmt)"

# A text table of N categories holding one string each.
category_table() {
  awk -v n="$1" 'BEGIN {
    printf "\357\273\277"
    for (i = 1; i <= n; ++i) {
      printf "[%d,Category %d]\r\n%d,IDS_CAT_STRING_%d,-1,\r\n", i, i, 999 + i, i
      for (k = 0; k < 7; ++k) printf "%d=Text %d of string %d\r\n", k, k, i
    }
  }'
}

mkdir -p "$work"
cd "$work"
[ -f lang6.po ] || "$build/bench/exchange_bench" --generate . >/dev/null
[ -f strings.tdb ] || "$tdbtool" import-table table.txt strings.tdb
[ -f categories20000.txt ] || category_table 20000 >categories20000.txt
[ -f categories80000.txt ] || category_table 80000 >categories80000.txt

echo "tdbtool: $tdbtool; data in $work; median of $rounds runs each"
bench_pair "import-table / msgfmt x7" 0.15 "$rounds" "" \
  "'$tdbtool' import-table table.txt out.tdb" \
  "for k in 0 1 2 3 4 5 6; do msgfmt -o lang\$k.mo lang\$k.po; done"
bench_pair "export-header / cp" 4 "$rounds" "" \
  "'$tdbtool' export-header strings.tdb out.h" \
  "cp strings.tdb copy.tdb"
bench_pair "check / export-header" 1.5 "$rounds" "" \
  "'$tdbtool' check strings.tdb" \
  "'$tdbtool' export-header strings.tdb out.h"
bench_pair "import-table 80,000 / 20,000 categories" 5 "$rounds" "" \
  "'$tdbtool' import-table categories80000.txt out80000.tdb" \
  "'$tdbtool' import-table categories20000.txt out20000.tdb"
rm -f out.tdb out.h copy.tdb lang?.mo out80000.tdb out20000.tdb

size_kib=$(( $(stat -c %s strings.tdb) / 1024 ))
/usr/bin/time -f %M -o peak.txt "$tdbtool" dump strings.tdb >/dev/null
peak=$(cat peak.txt)
rm -f peak.txt
awk -v p="$peak" -v s="$size_kib" 'BEGIN {
  printf "dump peak memory %.1f MiB = %.2f x file size (goal <= 1.5)\n", p / 1024, p / s }'

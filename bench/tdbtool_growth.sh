#!/bin/bash
# How each tdbtool command grows with its data: the generated 7-language database (and its text
# table and PO files) at 10,000, 100,000 and 1,000,000 strings. For every command, and for cp of
# the database as the reference, the run at one size is timed against the run at the size ten
# times smaller, alternating (bench_lib.sh); the ratio is the growth per 10x of data, goal <= 12
# (cp itself grows by 10 to 11). Then the peak memory of each command at the largest size
# against the size of the database file (goal <= 2). import-po applies language 1 as
# export-po writes it to language 2 of a fresh copy of the database, so that it rewrites the
# database (durably, as it always does).
#
#   bench/tdbtool_growth.sh [BUILD_DIR] [WORK_DIR] [ROUNDS] [SIZES]
#
# BUILD_DIR (default build) holds bin/tdbtool and bench/exchange_bench. The data are made once
# in WORK_DIR (default /tmp/tdbtool-growth; the 1,000,000-string set takes about 2.5 GB) and kept
# for later runs; ROUNDS defaults to 3; SIZES (default "10000 100000 1000000") are the sizes
# compared in turn, each against the one before it.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/bench_lib.sh"
bench_setup /tmp/tdbtool-growth "${@:1:3}"
sizes=${4:-10000 100000 1000000}
tdbtool=$build/bin/tdbtool
bench_require "$tdbtool" "$build/bench/exchange_bench"

mkdir -p "$work"
work=$(cd "$work" && pwd)
bench_tdb_sizes "$work" "$sizes"
# The PO file that import-po applies: language 1 as export-po writes it, applied to language 2,
# so that every entry is found and changes its string.
for n in $sizes; do
  [ -f "$work/$n/export1.po" ] || "$tdbtool" export-po "$work/$n/strings.tdb" "$work/$n/export1.po" --language 1
done

# The command line of each command in the folder of one size ($d); import-po writes into a copy
# made before every run, outside the timing.
command_line() {
  case $1 in
    cp) echo "cp '$2/strings.tdb' '$2/copy.tdb'" ;;
    import-po) echo "'$tdbtool' import-po '$2/work.tdb' '$2/export1.po' --language 2" ;;
    export-po) echo "'$tdbtool' export-po '$2/strings.tdb' '$2/out.po' --language 1" ;;
    dump) echo "'$tdbtool' dump '$2/strings.tdb' >'$2/out.json'" ;;
    check) echo "'$tdbtool' check '$2/strings.tdb'" ;;
    export-header) echo "'$tdbtool' export-header '$2/strings.tdb' '$2/out.h'" ;;
    import-table) echo "'$tdbtool' import-table '$2/table.txt' '$2/out.tdb'" ;;
    export-table) echo "'$tdbtool' export-table '$2/strings.tdb' '$2/out.txt'" ;;
  esac
}
commands="cp import-po export-po dump check export-header import-table export-table"

echo "tdbtool: $tdbtool; data in $work; median of $rounds runs each"
previous=""
for n in $sizes; do
  if [ -n "$previous" ]; then
    echo "growth from $previous to $n strings:"
    for c in $commands; do
      prepare=""
      [ "$c" = import-po ] && prepare="cp '$work/$n/strings.tdb' '$work/$n/work.tdb'; cp '$work/$previous/strings.tdb' '$work/$previous/work.tdb'"
      bench_pair "  $c" 12 "$rounds" "$prepare" "$(command_line "$c" "$work/$n")" "$(command_line "$c" "$work/$previous")"
    done
  fi
  previous=$n
done

d=$work/$previous
size_kib=$(( $(stat -c %s "$d/strings.tdb") / 1024 ))
echo "peak memory at $previous strings against the database file ($((size_kib / 1024)) MiB):"
for c in $commands; do
  [ "$c" = cp ] && continue
  [ "$c" = import-po ] && cp "$d/strings.tdb" "$d/work.tdb"
  /usr/bin/time -f %M -o "$work/peak.txt" bash -c "$(command_line "$c" "$d")" >/dev/null 2>&1 || true
  awk -v c="$c" -v p="$(cat "$work/peak.txt")" -v s="$size_kib" 'BEGIN {
    printf "  %-14s %8.1f MiB = %.2f x file size (goal <= 2, %s)\n", c, p / 1024, p / s, p / s <= 2 ? "ok" : "ABOVE GOAL" }'
done
for n in $sizes; do rm -f "$work/$n"/{copy.tdb,work.tdb,out.po,out.json,out.h,out.tdb,out.txt}; done
rm -f "$work/peak.txt"

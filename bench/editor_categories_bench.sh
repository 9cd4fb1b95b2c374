#!/bin/bash
# The editor's start with a database of many categories, as a whole process
# (bench/editor_script open=FILE show: the editor's main window, the file opened as File, Open
# does, then the whole window painted once, tab row included; offscreen Qt), on databases of 1,000, 10,000 and 100,000 categories (one
# line "[c,Category c]" each, no strings), each timed beside "tdbtool dump" of the same file
# (bench_lib.sh: alternating runs, medians). Goals: under 1 s at every size, and linear growth:
# the time beyond the start's fixed cost (the time at the smallest size) grows at most 1.2
# times as fast as the number of categories beyond the smallest size.
#
#   bench/editor_categories_bench.sh [BUILD_DIR] [WORK_DIR] [ROUNDS] [SIZES]
#
# The data are made once in WORK_DIR (default /tmp/editor-categories-bench); ROUNDS defaults
# to 5; SIZES to "1000 10000 100000" (each ten times the one before).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/bench_lib.sh"
bench_setup /tmp/editor-categories-bench "${@:1:3}"
sizes=${4:-1000 10000 100000}
bench_require "$build/bin/tdbtool" "$build/bench/editor_script"
mkdir -p "$work"
work=$(cd "$work" && pwd)
export QT_QPA_PLATFORM=offscreen

for n in $sizes; do
  if [ ! -f "$work/categories$n.tdb" ]; then
    awk -v n="$n" 'BEGIN { printf "\357\273\277"; for (c = 1; c <= n; ++c) printf "[%d,Category %d]\r\n", c, c }' \
      >"$work/categories$n.txt"
    "$build/bin/tdbtool" import-table "$work/categories$n.txt" "$work/categories$n.tdb"
  fi
  shown=$("$build/bench/editor_script" "open=$work/categories$n.tdb" show 2>/dev/null)
  [ "$shown" = "$n tabs" ] || { echo "$n categories: the editor showed \"$shown\"" >&2; exit 1; }
done

echo "editor: $build/bench/editor_script; data in $work; median of $rounds runs each"
declare -A median
for n in $sizes; do
  f=$work/categories$n.tdb
  bench_pair "open and show $n categories / dump" - "$rounds" "" \
    "'$build/bench/editor_script' 'open=$f' show" "'$build/bin/tdbtool' dump '$f'"
  median[$n]=$(bench_median "$BENCH_RUNS_A")
  awk -v t="${median[$n]}" 'BEGIN { printf "    open and show %.3f s (goal < 1 s, %s)\n", t, t < 1 ? "ok" : "ABOVE GOAL" }'
done

# The growth of what the categories cost, the start's fixed cost (the smallest size) taken off.
set -- $sizes
smallest=$1
shift
previous=""
for n in "$@"; do
  if [ -n "$previous" ]; then
    awk -v a="${median[$previous]}" -v b="${median[$n]}" -v z="${median[$smallest]}" \
      -v p="$previous" -v n="$n" -v s="$smallest" 'BEGIN {
      linear = (n - s) / (p - s); r = (a - z > 0.0005) ? (b - z) / (a - z) : 0
      printf "growth from %d to %d categories beyond the fixed cost: %.3f s -> %.3f s, ratio %.1f (linear %.1f, goal <= %.1f, %s)\n",
        p, n, a - z, b - z, r, linear, 1.2 * linear, r <= 1.2 * linear ? "ok" : "ABOVE GOAL" }'
  fi
  previous=$n
done

#!/bin/bash
# bundlor as a whole process against tar -cf of the same tree, in one run (bench_lib.sh:
# alternating runs, medians). Goal: bundlor / tar <= 0.8 in both states a user meets, each
# measured on its own:
#   rebuild  each writes over its own output of the previous run, with no sync between runs, so
#            the old output's pages may still be dirty or on their way to the disk;
#   new      the previous output is deleted and the disk synced before every run (not timed).
# Both write into WORK_DIR, beside the tree.
#
#   bench/bundlor_bench.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#
# BUILD_DIR (default build) holds bin/bundlor and bench/bundlor_tree_gen. The tree
# (bundlor_tree_gen: 4,000 files, sizes spread on a log scale from 64 bytes to 3 MiB, about
# 1.1 GB) is made once in WORK_DIR (default /tmp/bundlor-bench) and kept; ROUNDS defaults to 5.
# Also prints bundlor's largest resident size for single files of growing size (it must stay
# flat).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/bench_lib.sh"
bench_setup /tmp/bundlor-bench "$@"
bundlor=$build/bin/bundlor
bench_require "$bundlor" "$build/bench/bundlor_tree_gen"

mkdir -p "$work"
cd "$work"
if [ ! -f tree.done ]; then
  rm -rf tree
  "$build/bench/bundlor_tree_gen" tree >/dev/null
  touch tree.done
fi

echo "tree: $(find tree -type f | wc -l) files, $(du -sb tree | cut -f1) bytes; median of $rounds runs each"
bench_pair "bundlor / tar -cf, rebuild over last output" 0.8 "$rounds" "" \
  "'$bundlor' tree out.mix" \
  "tar -cf out.tar tree"
bench_pair "bundlor / tar -cf, new output after sync" 0.8 "$rounds" "rm -f out.mix out.tar && sync" \
  "'$bundlor' tree out.mix" \
  "tar -cf out.tar tree"
rm -f out.mix out.tar

echo "bundlor largest resident size by file size:"
for mb in 1 64 1024; do
  rm -rf flat && mkdir flat
  head -c $((mb * 1024 * 1024)) /dev/zero >flat/file.bin
  /usr/bin/time -f "%M" -o time.txt "$bundlor" flat out.mix
  printf '  %5d MiB file: %s KB\n' "$mb" "$(cat time.txt)"
done
rm -rf flat out.mix time.txt

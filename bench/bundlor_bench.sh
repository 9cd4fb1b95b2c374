#!/bin/bash
# bundlor against tar -cf, cp -r and zip -0 -r -q on the same tree, in one run.
#
#   bench/bundlor_bench.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#
# Makes the tree (bundlor_tree_gen: about 4,000 files, 0 bytes to 4 MiB, about 500 MB) in
# WORK_DIR (default /tmp/bundlor-bench) unless it is there, reads it once so the cache is warm,
# then runs the four tools in turn, ROUNDS times (default 5), each writing into WORK_DIR (the
# same file system as the tree). Outputs are deleted and the disk synced between runs, outside
# the timing. Prints the median time and the largest resident size of each tool and bundlor's
# ratio against each, then bundlor's largest resident size on trees of growing file sizes (it
# must stay flat).
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
work=${2:-/tmp/bundlor-bench}
rounds=${3:-5}
bundlor=$build/bin/bundlor
generator=$build/bench/bundlor_tree_gen
for program in "$bundlor" "$generator"; do
  [ -x "$program" ] || { echo "missing $program: build the benchmarks target first" >&2; exit 1; }
done
case "$work" in
  "$(cd "$(dirname "$0")/.." && pwd)"*) echo "WORK_DIR must lie outside the repository" >&2; exit 1 ;;
esac

mkdir -p "$work"
cd "$work"
[ -d tree ] || "$generator" tree
find tree -type f -exec cat {} + >/dev/null

declare -A command=(
  [bundlor]="$bundlor tree out.mix"
  [tar]="tar -cf out.tar tree"
  [cp]="cp -r tree out.copy"
  [zip]="zip -0 -r -q out.zip tree"
)
tools=(bundlor tar cp zip)
declare -A times rss

# Runs one tool under /usr/bin/time; appends its seconds and largest resident size (KB).
measure() {
  local tool=$1
  rm -rf out.mix out.tar out.copy out.zip
  sync
  /usr/bin/time -f "%e %M" -o time.txt ${command[$tool]} >/dev/null
  read -r seconds kb <time.txt
  times[$tool]+="$seconds "
  rss[$tool]=$(( ${rss[$tool]:-0} > kb ? ${rss[$tool]:-0} : kb ))
}

median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

for ((round = 1; round <= rounds; ++round)); do
  for tool in "${tools[@]}"; do measure "$tool"; done
done
rm -rf out.mix out.tar out.copy out.zip time.txt

echo "tree: $(find tree -type f | wc -l) files, $(du -sb tree | cut -f1) bytes; median of $rounds rounds"
bundlor_median=$(median "${times[bundlor]}")
for tool in "${tools[@]}"; do
  m=$(median "${times[$tool]}")
  printf '%-8s %6.2f s  max RSS %6d KB  bundlor/%s = %s   (runs: %s)\n' "$tool" "$m" "${rss[$tool]}" "$tool" \
    "$(awk -v a="$bundlor_median" -v b="$m" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')" "${times[$tool]% }"
done

# Memory as files grow: one file of each size, packed alone.
echo "bundlor max RSS by file size:"
for mb in 1 64 1024; do
  rm -rf flat && mkdir flat
  head -c $((mb * 1024 * 1024)) /dev/zero >flat/file.bin
  /usr/bin/time -f "%M" -o time.txt "$bundlor" flat out.mix
  printf '  %5d MiB file: %s KB\n' "$mb" "$(cat time.txt)"
done
rm -rf flat out.mix time.txt

#!/bin/sh
# Times the facetrue program on a folder of 200 old-format models of 50,000 triangles each
# against "cp -r" of the same folder, in one run, and prints the ratio and triangles per second.
# facetrue rewrites the models, so each round first restores the old-format copy (not timed).
# For reference it also times facetrue over the then up-to-date models, which reads and checks
# every file but writes nothing.
#
#   bench/facetrue_bench.sh BUILD_DIR [WORK_DIR] [ROUNDS]
#
# WORK_DIR (default: a new folder under /tmp) receives about 1 GB of models and is removed at the end.
set -eu

build=${1:?usage: facetrue_bench.sh BUILD_DIR [WORK_DIR] [ROUNDS]}
work=${2:-$(mktemp -d /tmp/facetrue-bench-XXXXXX)}
rounds=${3:-3}
models=200
triangles=50000

mkdir -p "$work/pristine"
trap 'rm -rf "$work"' EXIT
"$build/bench/facetrue_generate" "$work/pristine" $models $triangles

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc -l; }
# The smaller of two times; an empty first one counts as none.
smaller() { if [ -z "$1" ] || [ "$(echo "$2 < $1" | bc -l)" -eq 1 ]; then echo "$2"; else echo "$1"; fi; }

best_facetrue=
best_copy=
best_synced_copy=
round=1
while [ $round -le "$rounds" ]; do
  rm -rf "$work/models" "$work/copy"
  cp -r "$work/pristine" "$work/models"
  sync

  start=$(now)
  "$build/bin/facetrue" "$work/models" </dev/null >"$work/facetrue.out"
  facetrue_time=$(elapsed "$start" "$(now)")
  processed=$(grep -c '^Processed' "$work/facetrue.out" || true)
  if [ "$processed" -ne $models ]; then
    echo "facetrue processed $processed of $models models" >&2
    exit 1
  fi
  sync

  # The same models once more, now up to date: read and checked, nothing written.
  start=$(now)
  "$build/bin/facetrue" "$work/models" </dev/null >/dev/null
  check_time=$(elapsed "$start" "$(now)")

  start=$(now)
  cp -r "$work/pristine" "$work/copy"
  copy_time=$(elapsed "$start" "$(now)")

  # cp -r that also flushes every copied file to disk, as facetrue's safe replacement does.
  start=$(now)
  cp -r "$work/pristine" "$work/copy-synced"
  sync "$work/copy-synced"/*
  synced_copy_time=$(elapsed "$start" "$(now)")
  rm -rf "$work/copy-synced"
  sync

  echo "round $round: facetrue $facetrue_time s, cp -r $copy_time s," \
    "cp -r with each file flushed $synced_copy_time s, facetrue with nothing to do $check_time s"
  best_facetrue=$(smaller "$best_facetrue" "$facetrue_time")
  best_copy=$(smaller "$best_copy" "$copy_time")
  best_synced_copy=$(smaller "$best_synced_copy" "$synced_copy_time")
  round=$((round + 1))
done

size=$(du -sm "$work/pristine" | cut -f1)
echo "models: $models x $triangles triangles, $size MB"
echo "best facetrue: $best_facetrue s, best cp -r: $best_copy s, best cp -r with each file flushed: $best_synced_copy s"
echo "ratio facetrue / cp -r: $(echo "scale=2; $best_facetrue / $best_copy" | bc -l)"
echo "ratio facetrue / cp -r with each file flushed: $(echo "scale=2; $best_facetrue / $best_synced_copy" | bc -l)"
echo "triangles per second: $(echo "scale=0; $models * $triangles / $best_facetrue" | bc -l)"

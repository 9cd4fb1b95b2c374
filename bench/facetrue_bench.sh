#!/bin/bash
# facetrue as a whole process on 200 old-format models of 50,000 triangles against its peer,
# safe_rewrite: a program that replaces the same files safely and changes nothing (reads each,
# writes a temporary file beside it, flushes it to disk, renames it over the original). Both
# start from a fresh copy of the old-format models each time (not timed); alternating runs and
# medians as in bench_lib.sh. Goal: facetrue / safe_rewrite <= 1.3.
#
#   bench/facetrue_bench.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#
# BUILD_DIR (default build) holds bin/facetrue, bench/facetrue_generate and bench/safe_rewrite.
# WORK_DIR (default /tmp/facetrue-bench) receives about 730 MB and is kept for later runs;
# ROUNDS defaults to 5.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/bench_lib.sh"
bench_setup /tmp/facetrue-bench "$@"
bench_require "$build/bin/facetrue" "$build/bench/facetrue_generate" "$build/bench/safe_rewrite"

mkdir -p "$work"
cd "$work"
if [ ! -f pristine/done ]; then
  rm -rf pristine
  mkdir pristine
  "$build/bench/facetrue_generate" pristine 200 50000 >/dev/null
  touch pristine/done
fi

# Every run must find all 200 models to do.
rm -rf models && cp -r pristine models
processed=$("$build/bin/facetrue" models </dev/null | grep -c '^Processed' || true)
[ "$processed" -eq 200 ] || { echo "facetrue processed $processed of 200 models" >&2; exit 1; }

echo "models: 200 x 50000 triangles, $(du -sm pristine | cut -f1) MB; median of $rounds runs each"
bench_pair "facetrue / safe_rewrite" 1.3 "$rounds" "rm -rf models && cp -r pristine models && sync" \
  "'$build/bin/facetrue' models </dev/null" \
  "'$build/bench/safe_rewrite' models"
rm -rf models

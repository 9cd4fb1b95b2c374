#!/bin/bash
# facetrue as a whole process on 200 old-format models of 50,000 triangles against its peer,
# safe_rewrite: a program that replaces the same files safely and changes nothing (reads each,
# writes a temporary file beside it, flushes it to disk, renames it over the original). Both
# start from a fresh copy of the old-format models each time (copied and synced, not timed);
# alternating runs and medians as in bench_lib.sh. Goal: facetrue / safe_rewrite <= 1.1 for
# each of two kinds of model:
#   from-obj   made by vxmtool from-obj from one OBJ grid whose triangles share their vertices
#              (25,326 vertices, 1.9 MB a model);
#   generator  made by facetrue_generate: a strip of 50,002 vertices (2.2 MB a model).
#
#   bench/facetrue_bench.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#
# BUILD_DIR (default build) holds bin/facetrue, bin/vxmtool, bench/facetrue_generate and
# bench/safe_rewrite. WORK_DIR (default /tmp/facetrue-bench) receives about 1.2 GB and is kept
# for later runs; ROUNDS defaults to 5.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/bench_lib.sh"
bench_setup /tmp/facetrue-bench "$@"
facetrue=$build/bin/facetrue
bench_require "$facetrue" "$build/bin/vxmtool" "$build/bench/facetrue_generate" "$build/bench/safe_rewrite"

mkdir -p "$work"
cd "$work"
if [ ! -f generator/done ]; then
  rm -rf generator
  mkdir generator
  "$build/bench/facetrue_generate" generator 200 50000 >/dev/null
  touch generator/done
fi
if [ ! -f from-obj/done ]; then
  rm -rf from-obj
  mkdir from-obj
  # A 125 x 200 grid of quads, two triangles each, over a wavy surface.
  awk 'BEGIN {
    w = 126; h = 201
    for (y = 0; y < h; y++) for (x = 0; x < w; x++) printf "v %.4f %.4f %.4f\n", x * 0.1, y * 0.1, sin(x * 0.3) * cos(y * 0.2)
    print "o grid"
    for (y = 0; y < h - 1; y++) for (x = 0; x < w - 1; x++) {
      a = y * w + x + 1; b = a + 1; c = a + w; d = c + 1
      printf "f %d %d %d\nf %d %d %d\n", a, b, d, a, d, c
    }
  }' >grid.obj
  "$build/bin/vxmtool" from-obj grid.obj grid.vxm
  for ((m = 0; m < 200; ++m)); do cp grid.vxm "$(printf 'from-obj/model%03d.vxm' $m)"; done
  rm grid.obj grid.vxm
  touch from-obj/done
fi

for kind in from-obj generator; do
  # Every run must find all 200 models to do.
  rm -rf models && cp -r "$kind" models
  processed=$("$facetrue" models </dev/null | grep -c '^Processed' || true)
  [ "$processed" -eq 200 ] || { echo "facetrue processed $processed of 200 $kind models" >&2; exit 1; }
  echo "$kind models: 200 x 50000 triangles, $(du -sm "$kind" | cut -f1) MB; median of $rounds runs each"
  bench_pair "facetrue / safe_rewrite, $kind" 1.1 "$rounds" "rm -rf models && cp -r $kind models && sync" \
    "'$facetrue' models </dev/null" \
    "'$build/bench/safe_rewrite' models"
done
rm -rf models

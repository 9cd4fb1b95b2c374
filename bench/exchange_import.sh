#!/bin/sh
# Times "tdbtool import-table" of the generated text table (100,000 strings, 7 languages)
# against msgfmt compiling the 7 .po files that hold the same texts, in one hyperfine run, and
# prints the ratio of the mean times (tdbtool / msgfmt).
#
#   bench/exchange_import.sh [BUILD_DIR]     (default: build; needs bench/exchange_bench and
#                                            bin/tdbtool built there)
set -eu
build=${1:-build}
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT

"$build/bench/exchange_bench" --generate "$data"
ls -l "$data"

hyperfine --warmup 2 --runs 10 --export-json "$data/times.json" \
  -n "tdbtool import-table" "$build/bin/tdbtool import-table $data/table.txt $data/out.tdb" \
  -n "msgfmt x7" "for k in 0 1 2 3 4 5 6; do msgfmt -o $data/lang\$k.mo $data/lang\$k.po; done"

python3 - "$data/times.json" <<'PY'
import json, sys
runs = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
tdb = runs["tdbtool import-table"]["mean"]
po = runs["msgfmt x7"]["mean"]
print(f"tdbtool import-table {tdb:.3f} s, msgfmt x7 {po:.3f} s, ratio {tdb / po:.3f} (target <= 0.2)")
PY

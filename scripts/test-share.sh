#!/usr/bin/env bash
# Prints the share of test code. Test code is the test files and their helpers (*_test.cpp,
# *_test.h, and the testing/ folders: common/testing, tdb/testing, vxmlib/testing, ...).
# Blank lines and lines holding only a // comment do not count. Counts the files git knows
# about in this checkout. Three figures:
#  1. test code against all C++ lines outside bench/ and fuzz/: the figure the project is held
#     to (at most 33%);
#  2. test code against the code alone (all C++ outside bench/ and fuzz/, tests taken out);
#  3. as 1, with bench/ and fuzz/ counted too, and among them as tests what runs under CTest or
#     checks the programs: fuzz/regress_main.cpp (feeds each fuzz target its corpus as a test)
#     and bench/editor_script.cpp (the scripted editor use that scripts/compare-windows.sh
#     checks); the fuzz targets and benchmarks themselves count as code.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

count() { xargs -r cat -- | grep -cvE '^[[:space:]]*(//.*)?$' || true; }
is_test() { grep -E '(_test\.(cpp|h)$)|(/testing/)|(^common/testing/)' || true; }

files=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h' ':!bench/' ':!fuzz/')
all=$(printf '%s\n' "$files" | count)
tests=$(printf '%s\n' "$files" | is_test | count)
extra=$(git ls-files -co --exclude-standard -- 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' | count)
extra_tests=$(git ls-files -co --exclude-standard -- fuzz/regress_main.cpp bench/editor_script.cpp | count)

awk -v t="$tests" -v a="$all" -v e="$extra" -v et="$extra_tests" '
function share(n, d) { return d ? 100 * n / d : 0 }
BEGIN {
  printf "tests %d of %d C++ lines: %.1f%% (bench/ and fuzz/ left out; at most 33%%)\n", t, a, share(t, a)
  printf "tests %d against the code alone, %d lines: %.1f%%\n", t, a - t, share(t, a - t)
  printf "with bench/ and fuzz/: tests %d of %d C++ lines: %.1f%% (their regression runner and editor script as tests)\n",
    t + et, a + e, share(t + et, a + e)
}'

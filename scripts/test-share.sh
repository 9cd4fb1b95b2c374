#!/usr/bin/env bash
# Prints the share of test code: lines of test files and their helpers
# (*_test.cpp, *_test.h, and the testing/ folders: common/testing, tdb/testing,
# vxmlib/testing) against all C++ lines outside
# bench/ and fuzz/. Blank lines and lines holding only a // comment do not
# count. Counts the files git knows about in this checkout.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

count() { xargs -r cat -- | grep -cvE '^[[:space:]]*(//.*)?$' || true; }

files=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h' ':!bench/' ':!fuzz/')
all=$(printf '%s\n' "$files" | count)
tests=$(printf '%s\n' "$files" | grep -E '(_test\.(cpp|h)$)|(/testing/)|(^common/testing/)' | count)

awk -v t="$tests" -v a="$all" \
  'BEGIN { printf "tests %d of %d C++ lines: %.1f%%\n", t, a, a ? 100 * t / a : 0 }'

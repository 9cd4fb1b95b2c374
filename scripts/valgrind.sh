#!/usr/bin/env bash
# Runs the tests of the command-line programs and the libraries below them under valgrind's
# memcheck, following the toolset's programs the tests start (not system tools such as the C
# compiler). Any invalid access, use of an undefined
# value or lost block fails the run. Builds the default preset first.
# Usage: scripts/valgrind.sh [TEST_PROGRAM...]   (default: all of them, e.g. tdbtool_test)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

TX_DEPS_EXTRA=(valgrind)
source "$root/scripts/deps.sh"

cmake --preset default >/dev/null
cmake --build --preset default

tests=("$@")
if [[ ${#tests[@]} -eq 0 ]]; then
  tests=(common_test tdb_test tdb_exchange_test tdbtool_test mix_test bundlor_test mixtool_test facetrue_test vxmlib_test vxmtool_test)
fi

failed=0
for name in "${tests[@]}"; do
  program=$(find build -name "$name" -type f -executable | head -1)
  [[ -n "$program" ]] || { echo "$name: not built" >&2; exit 1; }
  log="$root/build/valgrind-$name.log"
  start=$SECONDS
  # The toolset's own operator new (allocore, which tests make fail on purpose) stays in
  # place over the malloc that memcheck watches. Blocks still reachable at exit are not
  # errors: the programs leave their memory to the system on purpose. Origins of undefined
  # values are not tracked: that makes every program start ten times slower, past the test
  # runner's time limit; add --track-origins=yes by hand when looking into a report.
  if valgrind --quiet --error-exitcode=99 --trace-children=yes --leak-check=full \
      --soname-synonyms=somalloc=nouserintercepts --trace-children-skip="/usr/*,/bin/*" \
      --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect \
      --log-file="$log.%p" \
      "$program" --gtest_brief=1 >"$log" 2>&1; then
    echo "$name: clean ($((SECONDS - start)) s)"
  else
    failed=1
    echo "$name: FAILED ($((SECONDS - start)) s); see $log and $log.*"
    tail -20 "$log"
  fi
done
exit "$failed"

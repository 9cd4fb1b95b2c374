#!/usr/bin/env bash
# The Win32 editor under wine64 on databases of many categories: the generated 100,000-string
# database (bench/editor_bench.cpp) with 1,000, 10,000 and 100,000 categories (SIZES), ROUNDS
# runs at each size, the sizes taken in turn and each round starting with another one. Per size:
# the medians and the spread (lowest and highest run) of "open and show the largest category"
# and of the load alone (tdbtool's path) in the same runs, their ratio, and the limit of 1 s.
# Expects build-mingw/bench/editor_bench.exe (mingw preset with -DTX_BUILD_BENCH=ON) and the wine
# prefix of scripts/test-windows.sh; starts a virtual display when DISPLAY is not set.
#
#   bench/editor_categories_windows.sh [ROUNDS] [SIZES]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/bench/bench_lib.sh"
rounds=${1:-5}
read -ra sizes <<<"${2:-1000 10000 100000}"
windows="$root/build-mingw/bench/editor_bench.exe"
bench_require "$windows"

export WINEPREFIX="${WINEPREFIX:-$root/build-mingw/wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
work="$(mktemp -d)"
source "$root/scripts/virtual_display.sh"
cleanup() {
  rm -rf "$work"
  tx_stop_virtual_display
}
trap cleanup EXIT
[[ -n "${DISPLAY:-}" ]] || tx_start_virtual_display

for ((round = 0; round < rounds; ++round)); do
  for ((i = 0; i < ${#sizes[@]}; ++i)); do
    n=${sizes[(round + i) % ${#sizes[@]}]}
    /usr/lib/wine/wine64 "$windows" --categories "$n" 2>/dev/null | tr -d '\r' >>"$work/$n"
  done
done

# runs SIZE STEP: the milliseconds of STEP in every run at SIZE.
runs() { grep -F "$2 " "$work/$1" | sed -E 's/.{40} +([0-9.]+) ms.*/\1/' | tr '\n' ' '; }
spread() { tr ' ' '\n' <<<"$1" | grep . | sort -g | sed -n '1p;$p' | tr '\n' ' ' | awk '{ printf "%s-%s", $1, $2 }'; }
printf '%-11s %24s %24s %10s %8s\n' "categories" "load alone (ms)" "open and show (ms)" "open/load" "limit"
for n in "${sizes[@]}"; do
  load=$(runs "$n" "load alone (tdbtool's path)")
  open=$(runs "$n" "open and show the largest category")
  ml=$(bench_median "$load")
  mo=$(bench_median "$open")
  printf '%-11s %8s (%13s) %8s (%13s) %10s %8s\n' "$n" "$ml" "$(spread "$load")" "$mo" "$(spread "$open")" \
    "$(awk -v o="$mo" -v l="$ml" 'BEGIN { printf "%.2f", o / l }')" 1000
done
echo "($rounds runs at each size; the spread is the lowest and the highest run)"

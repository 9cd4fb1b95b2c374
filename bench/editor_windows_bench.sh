#!/usr/bin/env bash
# The editor's steps on the generated 100,000-string database (bench/editor_bench.cpp) with the
# Win32 window under wine64 beside the Qt window (offscreen) on Linux: ROUNDS runs of each,
# alternating and each round starting with the other one; per step the medians, the spread
# (lowest and highest run) and the limit; then the two text Finds of each front end against
# their floor, grep -ci of the same text in the exported text table (timed by the Linux runs). Expects build/bench/editor_bench and
# build-mingw/bench/editor_bench.exe and the wine prefix of scripts/test-windows.sh; starts a
# virtual display when DISPLAY is not set.
#
#   bench/editor_windows_bench.sh [ROUNDS] [--categories N]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/bench/bench_lib.sh"
rounds=${1:-5}
shift || true
linux="$root/build/bench/editor_bench"
windows="$root/build-mingw/bench/editor_bench.exe"
bench_require "$linux" "$windows"

export WINEPREFIX="${WINEPREFIX:-$root/build-mingw/wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
if [[ -z "${DISPLAY:-}" ]]; then
  source "$root/scripts/virtual_display.sh"
  tx_start_virtual_display
  trap tx_stop_virtual_display EXIT
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"; [[ -n "${TX_XVFB_PID:-}" ]] && kill "$TX_XVFB_PID" 2>/dev/null || true' EXIT
run_windows() { /usr/lib/wine/wine64 "$windows" "$@" 2>/dev/null | tr -d '\r' >>"$work/windows"; }
run_linux() { QT_QPA_PLATFORM=offscreen "$linux" "$@" 2>/dev/null >>"$work/linux"; }
for ((round = 1; round <= rounds; ++round)); do
  if ((round % 2)); then
    run_windows "$@"
    run_linux "$@"
  else
    run_linux "$@"
    run_windows "$@"
  fi
done

# runs FILE STEP: the milliseconds of STEP in every run of FILE; median and spread (lowest and
# highest run) of those, "-" for none.
runs() { grep -F "$2 " "$work/$1" | sed -E 's/.{40} +([0-9.]+) ms.*/\1/' | tr '\n' ' ' || true; }
median() { if [[ -n "${1// /}" ]]; then bench_median "$1"; else echo -; fi; }
spread() { tr ' ' '\n' <<<"$1" | grep . | sort -g | sed -n '1p;$p' | tr '\n' ' ' | awk '{ printf "%s-%s", $1, $2 } END { if (!NR) printf "-" }'; }
head -1 "$work/linux"
printf '%-38s %22s %22s %8s\n' "step ($rounds runs each, ms)" "Win32 under wine" "Qt offscreen" "limit"
while IFS='|' read -r step limit; do
  w=$(runs windows "$step")
  l=$(runs linux "$step")
  printf '%-38s %8s (%11s) %8s (%11s) %8s\n' "$step" "$(median "$w")" "$(spread "$w")" \
    "$(median "$l")" "$(spread "$l")" "$limit"
done <<'STEPS'
load alone (tdbtool's path)|-
open and show the largest category|1000
switch tabs|100
Find by ID|100
Find by string (current language)|100
Find by english string|100
grep -ci zz-no-such-text of the table|-
grep -ci e of the table|-
Goto|50
Remove String (top row)|50
STEPS
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f", a / b }'; }
for pair in "Find by string (current language)|grep -ci zz-no-such-text of the table" \
  "Find by english string|grep -ci e of the table"; do
  find=${pair%%|*} grep=${pair#*|}
  g=$(median "$(runs linux "$grep")")
  printf '%-38s Win32 / grep %6s   Qt / grep %6s\n' "$find" "$(ratio "$(median "$(runs windows "$find")")" "$g")" \
    "$(ratio "$(median "$(runs linux "$find")")" "$g")"
done

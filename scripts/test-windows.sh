#!/usr/bin/env bash
# Cross-builds the command-line programs and their tests for 64-bit Windows (mingw preset), runs
# each test program once under wine64 (no display needed), then checks that the Windows and the
# Linux programs write byte-identical files for the same input (scripts/compare-windows.sh).
# Usage: scripts/test-windows.sh [extra cmake configure arguments for the mingw preset...]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/deps.sh"

cmake --preset mingw "$@"
cmake --build --preset mingw -j 2

# A private wine prefix under the build folder; no display, no prompts for .NET or HTML engines.
export WINEPREFIX="$root/build-mingw/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# wine gives Windows file names to Linux in the locale's character set: only a UTF-8 locale holds
# every name (under the C locale, names outside ASCII cannot be made).
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
stop_wine() { "$wineserver" -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT

# The first start makes the prefix; an interrupted one leaves a half-made prefix, so it is made
# afresh on a second try.
booted=0
for attempt in 1 2 3 4; do
  if [[ -f "$WINEPREFIX/system.reg" ]] && timeout 120 "$wine" cmd /c exit 0 >/dev/null 2>&1; then
    booted=1
    break
  fi
  [[ "$attempt" == 4 ]] && break
  stop_wine
  rm -rf "$WINEPREFIX"
  echo "Preparing the wine prefix (try $attempt)" >&2
  timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || true
  timeout 120 "$wineserver" -w >/dev/null 2>&1 || true
done
if [[ "$booted" != 1 ]]; then
  echo "wine64 could not prepare $WINEPREFIX" >&2
  exit 1
fi

ctest --preset mingw

"$root/scripts/compare-windows.sh"

#!/usr/bin/env bash
# Cross-builds the programs and their tests for 64-bit Windows (mingw preset), runs each test
# program once under wine64 (the editor's tests create real windows, on a private virtual display
# that this script starts with Xvfb), then checks that the Windows and the Linux programs write
# byte-identical files for the same input (scripts/compare-windows.sh) and tests the installer
# (scripts/test-installer.sh). With --i686 it does all of it for 32-bit Windows (mingw-i686
# preset) under Debian's wine32, which it installs ("scripts/deps.sh wine32").
# Usage: scripts/test-windows.sh [--i686] [extra cmake configure arguments for the preset...]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# A private wine prefix under the build folder; no display, no prompts for .NET or HTML engines.
unset WINEPREFIX
source "$root/scripts/windows_build.sh" "$@"
((TX_WIN_I686)) && shift
arch=()
((TX_WIN_I686)) && arch=(--i686)

"$root/scripts/deps.sh"
((TX_WIN_I686)) && "$root/scripts/deps.sh" wine32

cmake --preset "$TX_WIN_PRESET" "$@"
cmake --build --preset "$TX_WIN_PRESET" -j 2

unset DISPLAY WAYLAND_DISPLAY
wine="$TX_WINE"
wineserver="$TX_WINESERVER"
stop_wine() { "$wineserver" -k >/dev/null 2>&1 || true; }
stop_all() {
  stop_wine
  tx_stop_virtual_display
}
trap stop_all EXIT

# A virtual display on the first free number, for the windows of the editor's tests. Every wine
# process of the prefix, the first included, must see it: the desktop they share is made once.
source "$root/scripts/virtual_display.sh"
tx_start_virtual_display

# A wine session of this prefix left from before would hold a desktop on another display.
stop_wine

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
  WINEARCH="$TX_WINEARCH" timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || true
  timeout 120 "$wineserver" -w >/dev/null 2>&1 || true
done
if [[ "$booted" != 1 ]]; then
  echo "wine64 could not prepare $WINEPREFIX" >&2
  exit 1
fi

# Without a window manager wine waits two seconds for every window it hides; unmanaged windows
# are hidden at once.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

ctest --preset "$TX_WIN_PRESET"

"$root/scripts/compare-windows.sh" "${arch[@]}"
"$root/scripts/test-installer.sh" "${arch[@]}"

# Sourced by the Windows test scripts with their first argument: "--i686" picks the 32-bit build
# (preset mingw-i686, Debian's wine32 in a 32-bit wine prefix), anything else the 64-bit one
# (preset mingw, wine64). Sets TX_WIN_I686 (1 when the option was given, so that the caller can
# shift it away), TX_WIN_PRESET, TX_WIN_BUILD (the build folder, under the source folder),
# TX_WIN_PACKAGE_SYSTEM (the packages' system name), TX_WINE, TX_WINESERVER and TX_WINEARCH
# (for a new prefix), and exports WINEPREFIX (the build's, unless one is set) with the settings
# every run of ours uses.

if [[ "${1:-}" == "--i686" ]]; then
  TX_WIN_I686=1
  TX_WIN_PRESET=mingw-i686
  TX_WIN_BUILD=build-mingw-i686
  TX_WIN_PACKAGE_SYSTEM=win32
  TX_WINE=/usr/lib/wine/wine
  TX_WINESERVER=/usr/lib/wine/wineserver32
  TX_WINEARCH=win32
else
  TX_WIN_I686=0
  TX_WIN_PRESET=mingw
  TX_WIN_BUILD=build-mingw
  TX_WIN_PACKAGE_SYSTEM=win64
  TX_WINE=/usr/lib/wine/wine64
  TX_WINESERVER=/usr/lib/wine/wineserver64
  TX_WINEARCH=win64
fi

export WINEPREFIX="${WINEPREFIX:-$root/$TX_WIN_BUILD/wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# wine gives Windows file names to Linux in the locale's character set: only a UTF-8 locale holds
# every name (under the C locale, names outside ASCII cannot be made).
export LC_ALL=C.UTF-8

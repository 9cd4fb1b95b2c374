#!/usr/bin/env bash
# Tests the Windows packages under wine. Builds them (the "package" target), installs the setup
# program silently into its default folder (Program Files of the test's wine prefix) and checks
# the files (those of the .zip, and the uninstaller), the registry keys, the Start-menu entry,
# that the user's PATH is left alone and that the editor opens a .tdb file through the file
# association; then uninstalls silently and checks that nothing is left. A second install, into
# a temporary folder (/D), ticks the PATH box (/PATH) and checks that the uninstaller gives the
# user's PATH back as it was.
# Usage: scripts/test-installer.sh [--i686]. Expects the build and the wine prefix of
# scripts/test-windows.sh (same option), and a display (one is started when DISPLAY is not set).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
source "$root/scripts/windows_build.sh" "$@"
build="$root/$TX_WIN_BUILD"
wine="$TX_WINE"
wineserver="$TX_WINESERVER"
# Start-menu entries and file associations stay inside the prefix: no menus or MIME types of the
# Linux desktop are made from them.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

cmake --build --preset "$TX_WIN_PRESET" -j 2 --target package >/dev/null
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
setup="$build/toolset-$version-$TX_WIN_PACKAGE_SYSTEM-setup.exe"
zip="$build/toolset-$version-$TX_WIN_PACKAGE_SYSTEM.zip"

if [[ -z "${DISPLAY:-}" ]]; then
  source "$root/scripts/virtual_display.sh"
  tx_start_virtual_display
  trap tx_stop_virtual_display EXIT
fi

work="$(mktemp -d "$build/installer-test.XXXXXX")"
# windows PATH: PATH as the Windows programs take it (wine's drive Z: is /).
windows() { local p="${1//\//\\}"; printf 'Z:%s' "$p"; }
dest="$WINEPREFIX/drive_c/Program Files/toolset"
win_dest='C:\Program Files\toolset'

failed=0
count=0
check() {
  count=$((count + 1))
  if [[ "$2" == "$3" ]]; then
    echo "ok: $1"
  else
    printf 'FAILED: %s\n  expected: %s\n  got:      %s\n' "$1" "$3" "$2" >&2
    failed=$((failed + 1))
  fi
}
# reg_value KEY [NAME]: the data of a registry value (the key's default without NAME), or
# "(none)" when there is no such value.
reg_value() {
  local which=(/ve)
  [[ $# == 2 ]] && which=(/v "$2")
  local out
  if ! out="$("$wine" reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r')"; then
    echo "(none)"
    return
  fi
  sed -n 's/^    .*    REG_[A-Z_]*    //p' <<<"$out"
}
key_exists() { "$wine" reg query "$1" >/dev/null 2>&1 && echo yes || echo no; }
# Every file under a folder, relative to it, sorted.
files_in() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }
start_menu_entries() { find "$WINEPREFIX/drive_c" -name 'Strandex.lnk' | wc -l; }
# Waits for every program of the prefix to end (the uninstaller runs a copy of itself).
settle() { timeout 120 "$wineserver" -w || true; }

classes='HKLM\Software\Classes'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\toolset'
environment='HKCU\Environment'
# A run stopped half-way leaves its installation: remove the prefix (the build's wine folder).
check "no earlier installation in the prefix" \
  "$([[ -e "$dest" ]] && echo left || echo none) $(key_exists "$uninstall_key") $(key_exists "$classes\\Strandex.Database") $(start_menu_entries)" "none no no 0"
path_before="$(reg_value "$environment" Path)"

# The plain install.
"$wine" "$setup" /S
settle
zip_files="$(cmake -E tar tf "$zip" | grep -v '/$' | sed 's|^[^/]*/||' | LC_ALL=C sort)"
expected_files="$(printf '%s\nUninstall.exe\n' "$zip_files" | LC_ALL=C sort)"
check "installed files are the archive's and the uninstaller" "$(files_in "$dest")" "$expected_files"
programs="$(grep -E '\.exe$' <<<"$zip_files" | tr '\n' ' ')"
check "the archive's programs" "$programs" "bin/bundlor.exe bin/facetrue.exe bin/mixtool.exe bin/tdbtool.exe bin/vxmtool.exe strandex.exe "
check "documents" "$(grep -c '^doc/.*\.md$' <<<"$zip_files" | tr -d ' ') $(grep -cx 'doc/README.md' <<<"$zip_files")" "$(ls "$root"/docs/*.md | wc -l | awk '{print $1 + 1}') 1"
check "uninstall entry" "$(reg_value "$uninstall_key" InstallLocation)|$(reg_value "$uninstall_key" UninstallString)|$(reg_value "$uninstall_key" DisplayVersion)" \
  "$win_dest|\"$win_dest\\Uninstall.exe\"|$version"
check ".tdb names the editor's type" "$(reg_value "$classes\\.tdb")" "Strandex.Database"
check "the type's open command" "$(reg_value "$classes\\Strandex.Database\\shell\\open\\command")" "\"$win_dest\\strandex.exe\" \"%1\""
check "the type's icon" "$(reg_value "$classes\\Strandex.Database\\DefaultIcon")" "$win_dest\\strandex.exe,0"
check "one Start-menu entry" "$(start_menu_entries)" "1"
check "the user's PATH is left alone without /PATH" "$(reg_value "$environment" Path)" "$path_before"

# Double-click: the shell runs the registered command on the file, whose name has a space.
sample="$work/association test.tdb"
"$wine" "$dest/bin/tdbtool.exe" new "$(windows "$sample")"
"$wine" start /unix "$sample"
title="$("$wine" "$build/packaging/window_title.exe" TDB_WND 60 " - association test.tdb" | tr -d '\r' || true)"
check "strandex opened the file through the association" "$title" "Advanced string editor - association test.tdb"
# An editor that did not open the file would keep its files in use: it is ended.
[[ "$title" == "Advanced string editor - association test.tdb" ]] || "$wineserver" -k
settle

"$wine" "$dest/Uninstall.exe" /S
settle
check "the uninstaller removed the folder" "$([[ -e "$dest" ]] && echo left || echo gone)" "gone"
check "and the registry keys and the Start-menu entry" \
  "$(key_exists "$uninstall_key") $(key_exists "$classes\\.tdb") $(key_exists "$classes\\Strandex.Database") $(start_menu_entries)" "no no no 0"

# The install with the PATH box ticked, over a PATH of the user's own. (The folder has no space:
# wine would quote the argument, and /D must come unquoted.)
dest="$work/toolset"
win_dest="$(windows "$dest")"
own_path='C:\tools;Z:\tx own dir'
"$wine" reg add "$environment" /v Path /t REG_EXPAND_SZ /d "$own_path" /f >/dev/null
"$wine" "$setup" /S /PATH "/D=$win_dest"
settle
check "/PATH appends bin to the user's PATH" "$(reg_value "$environment" Path)" "$own_path;$win_dest\\bin"
"$wine" "$dest/Uninstall.exe" /S
settle
check "the uninstaller gives the PATH back" "$(reg_value "$environment" Path)" "$own_path"
check "and leaves no folder, no keys" "$([[ -e "$dest" ]] && echo left || echo gone) $(key_exists "$uninstall_key")" "gone no"

# The prefix's own PATH as it was.
if [[ "$path_before" == "(none)" ]]; then
  "$wine" reg delete "$environment" /v Path /f >/dev/null 2>&1
else
  "$wine" reg add "$environment" /v Path /t REG_EXPAND_SZ /d "$path_before" /f >/dev/null
fi
rm -rf "$work"
echo "test-installer: $((count - failed)) passed, $failed failed"
[[ "$failed" == 0 ]]

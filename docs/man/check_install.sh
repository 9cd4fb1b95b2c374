#!/bin/sh
# Installs the build twice. Staged (DESTDIR, prefix /usr): exactly the files listed below, and
# no caches. Into a prefix of its own, as a user's ~/.local: the MIME, desktop and icon caches are
# brought up to date, so that a database is taken for a .tdb by its name and by its first bytes
# and the editor is the application for it.
# Usage: check_install.sh BUILD_DIR FOLDER WITH_EDITOR(0|1)
set -eu
build=$1
folder=$2
editor=$3
rm -rf "$folder"
mkdir -p "$folder"
status=0
fail() { echo "$*"; status=1; }

DESTDIR="$folder/stage" cmake --install "$build" --prefix /usr >/dev/null
{
  for program in bundlor facetrue mixtool tdbtool tdbtool-git-setup vxmtool; do echo "bin/$program"; done
  for page in bundlor facetrue mixtool tdbtool vxmtool; do echo "share/man/man1/$page.1"; done
  for program in bundlor facetrue mixtool strandex tdbtool vxmtool; do
    echo "share/bash-completion/completions/$program"
  done
  for doc in LICENSE README.md bundlor.md facetrue.md git.md mix-format.md mixtool.md po.md strandex.md \
    tdb-format.md tdbtool.md text-table.md vxm-format.md xliff.md; do
    echo "share/doc/toolset/$doc"
  done
  if [ "$editor" = 1 ]; then
    echo bin/strandex
    echo share/man/man1/strandex.1
    echo share/applications/strandex.desktop
    for size in 16 24 32 48 64 128 256; do echo "share/icons/hicolor/${size}x$size/apps/strandex.png"; done
    echo share/icons/hicolor/scalable/apps/strandex.svg
    echo share/metainfo/org.toolset.strandex.metainfo.xml
    echo share/mime/packages/strandex.xml
  fi
} | sort >"$folder/expected"
(cd "$folder/stage/usr" && find . ! -type d | sed 's|^\./||' | sort) >"$folder/found"
diff "$folder/expected" "$folder/found" || fail "the staged install differs from the list (< expected, > found)"
"$folder/stage/usr/bin/mixtool" --version | grep -q "^mixtool [0-9]" || fail "mixtool --version"

if [ "$editor" = 1 ]; then
  prefix=$folder/prefix
  cmake --install "$build" --prefix "$prefix" >/dev/null 2>&1
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/strandex.desktop" || fail "the desktop entry is not valid"
  fi
  if command -v update-desktop-database >/dev/null; then
    grep -qx "application/x-strandex-tdb=strandex.desktop;" "$prefix/share/applications/mimeinfo.cache" ||
      fail "the desktop database does not offer strandex for .tdb files"
  fi
  if command -v gtk-update-icon-cache >/dev/null; then
    [ -f "$prefix/share/icons/hicolor/icon-theme.cache" ] || fail "no icon cache"
  fi
  if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
    "$prefix/bin/tdbtool" new "$folder/database"
    echo "not a database" >"$folder/text.tdb"
    for file in database text.tdb; do
      type=$(XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS=/usr/share gio info -a standard::content-type \
        "$folder/$file" | sed -n 's/^ *standard::content-type: //p')
      [ "$type" = application/x-strandex-tdb ] || fail "$file is taken for $type"
    done
  fi
fi
[ "$status" = 0 ] && rm -rf "$folder"
exit $status

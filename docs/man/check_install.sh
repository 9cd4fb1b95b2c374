#!/bin/sh
# Installs the build into a folder of its own and checks that every program reached bin/ and
# its manual page share/man/man1/.
# Usage: check_install.sh BUILD_DIR PREFIX WITH_EDITOR(0|1)
set -eu
build=$1
prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
programs="tdbtool bundlor facetrue vxmtool mixtool"
[ "$3" = 1 ] && programs="$programs strandex"
status=0
for program in $programs; do
  [ -x "$prefix/bin/$program" ] || { echo "missing bin/$program"; status=1; }
  [ -f "$prefix/share/man/man1/$program.1" ] || { echo "missing share/man/man1/$program.1"; status=1; }
done
"$prefix/bin/mixtool" --version | grep -q "^mixtool [0-9]" || { echo "mixtool --version"; status=1; }
rm -rf "$prefix"
exit $status

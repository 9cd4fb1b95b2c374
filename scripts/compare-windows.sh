#!/usr/bin/env bash
# Runs the Linux programs (build/bin) and the Windows programs (build-mingw/bin, under wine64) on
# the same inputs and checks that the archives, databases, C headers, text tables, models and
# extracted members they write are byte-identical (and the JSON dump, but for its line ends). Builds the Linux programs when they are missing; expects the mingw
# build and the wine prefix of scripts/test-windows.sh.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

programs=(bundlor mixtool tdbtool vxmtool facetrue)
for program in "${programs[@]}"; do
  if [[ ! -x "build/bin/$program" ]]; then
    [[ -f build/CMakeCache.txt ]] || cmake --preset default
    cmake --build --preset default -j 2 --target "${programs[@]}"
    break
  fi
done

export WINEPREFIX="${WINEPREFIX:-$root/build-mingw/wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# wine gives Windows file names to Linux in the locale's character set: only a UTF-8 locale holds
# every name (under the C locale, names outside ASCII cannot be made).
export LC_ALL=C.UTF-8
wine=/usr/lib/wine/wine64

work="$root/build-mingw/compare"
rm -rf "$work"
mkdir -p "$work/in" "$work/linux" "$work/windows"

# Inputs: a folder tree (with a name outside any ANSI code page and an empty file), a text table
# and an OBJ model.
tree="$work/in/tree"
mkdir -p "$tree/sub/deeper" "$tree/Ωmega дир" "$tree/empty folder"
printf 'hello\n' >"$tree/a.txt"
printf '' >"$tree/sub/empty.bin"
head -c 70000 /dev/zero | tr '\0' 'x' >"$tree/sub/deeper/large.dat"
printf 'unicode\n' >"$tree/Ωmega дир/файл.txt"
printf '\xef\xbb\xbf[1,Default]\r\n1000,IDS_OK,-1,\r\n0=OK\r\n1=D\xc3\xa9j\xc3\xa0\r\n[7,Menus]\r\n1001,IDS_QUIT,12,wave\r\n0=Quit, now\r\n2=\xe7\xb5\x82\xe4\xba\x86\r\n' \
  >"$work/in/table.txt"
cat >"$work/in/model.obj" <<'EOF'
o box
v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
v 0 0 1
f 1 2 3
f 1 3 4
f 1 2 5
EOF

# path SYSTEM PATH: an absolute path as that system's programs take it (wine's drive Z: is /).
path() {
  if [[ "$1" == linux ]]; then
    printf '%s' "$2"
  else
    local windows="${2//\//\\}"
    printf 'Z:%s' "$windows"
  fi
}

# run SYSTEM PROGRAM ARGS...: runs one program of one build in the folder of that system's outputs.
run() {
  local system="$1" program="$2"
  shift 2
  if [[ "$system" == linux ]]; then
    (cd "$work/linux" && "$root/build/bin/$program" "$@")
  else
    (cd "$work/windows" && "$wine" "$root/build-mingw/bin/$program.exe" "$@")
  fi
}

for system in linux windows; do
  run "$system" bundlor "$(path "$system" "$tree")" archive.mix >/dev/null
  run "$system" mixtool list archive.mix | tr -d '\r' >"$work/$system/list.txt"
  run "$system" mixtool extract archive.mix - 'sub\deeper\large.dat' 'Ωmega дир/файл.txt' >"$work/$system/members.bin"
  run "$system" mixtool extract archive.mix "$(path "$system" "$work/$system-extracted")"
  run "$system" tdbtool new new.tdb
  run "$system" tdbtool import-table "$(path "$system" "$work/in/table.txt")" strings.tdb
  run "$system" tdbtool export-header strings.tdb string_ids.h
  run "$system" tdbtool export-table strings.tdb string_table.txt
  # Standard output is a text stream: on Windows its lines end in CR LF; the rest must match.
  run "$system" tdbtool dump strings.tdb | tr -d '\r' >"$work/$system/dump.json"
  run "$system" vxmtool from-obj "$(path "$system" "$work/in/model.obj")" new.vxm --format 40002
  run "$system" vxmtool from-obj "$(path "$system" "$work/in/model.obj")" old.vxm
  run "$system" facetrue old.vxm </dev/null >/dev/null
done

failed=0
count=1
if diff -r "$work/linux-extracted" "$work/windows-extracted" >/dev/null; then
  echo "same: the archive's members extracted"
else
  echo "DIFFERENT: the archive's members extracted (Linux and Windows builds)" >&2
  failed=1
fi
for file in "$work/linux"/*; do
  name="$(basename "$file")"
  count=$((count + 1))
  if cmp -s "$file" "$work/windows/$name"; then
    echo "same: $name"
  else
    echo "DIFFERENT: $name (Linux and Windows builds)" >&2
    failed=$((failed + 1))
  fi
done
echo "compare-windows: $((count - failed)) passed, $failed failed"
[[ "$failed" == 0 ]]

#!/usr/bin/env bash
# Runs the Linux programs (build/bin) and the Windows programs (build-mingw/bin, under wine64, or
# with --i686 build-mingw-i686/bin, under wine32) on the same inputs and checks that the
# archives, databases, C headers, text tables, models and extracted members they write are
# byte-identical (and the JSON dump, but for its line ends).
# The editors of both systems run one scripted use through their main windows
# (bench/editor_script): what they save and export must equal each other and what tdbtool writes;
# a second use goes through the View menu, and what its steps show must be the same too. Builds
# the Linux programs when they are missing; expects the Windows build and the wine prefix of scripts/test-windows.sh (same option),
# and a display for wine's windows (one is started when DISPLAY is not set).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
source "$root/scripts/windows_build.sh" "$@"
windows_build="$root/$TX_WIN_BUILD"

programs=(bundlor mixtool tdbtool vxmtool facetrue)
for program in "${programs[@]}" editor_script; do
  if [[ ! -x "build/bin/$program" && ! -x "build/bench/$program" ]]; then
    [[ -f build/CMakeCache.txt ]] || cmake --preset default
    cmake --build --preset default -j 2 --target "${programs[@]}" editor_script
    break
  fi
done

if [[ -z "${DISPLAY:-}" ]]; then
  source "$root/scripts/virtual_display.sh"
  tx_start_virtual_display
  trap tx_stop_virtual_display EXIT
fi

wine="$TX_WINE"

work="$windows_build/compare"
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
# A table for the View menu: language 2 translated (IDS_OK, IDS_QUIT), equal to English (IDS_NEW),
# with other conversions (IDS_LEFT) and missing (IDS_SAVE); the same with IDS_NEW's edit done.
printf '[1,Default]\r\n1000,IDS_OK,-1,\r\n0=OK\r\n2=D\xc3\xa9j\xc3\xa0\r\n1002,IDS_NEW,-1,\r\n0=New game\r\n2=New game\r\n1003,IDS_LEFT,-1,\r\n0=%%d left\r\n2=reste\r\n[7,Menus]\r\n1001,IDS_QUIT,12,wave\r\n0=Quit, now\r\n2=\xe7\xb5\x82\xe4\xba\x86\r\n1004,IDS_SAVE,-1,\r\n0=Save\r\n' \
  >"$work/in/view.txt"
sed 's/^2=New game/2=Neues/' "$work/in/view.txt" >"$work/in/view_edited.txt"
# What the View steps show: per "rows" step, the selected tab and row, then the rows' IDs.
cat >"$work/in/view_rows.txt" <<'EOF'
tab 0, row -1: IDS_LEFT IDS_NEW IDS_OK
tab 0, row -1:
tab 0, row -1: IDS_QUIT
tab 0, row -1: IDS_LEFT IDS_NEW IDS_OK
tab 0, row -1: IDS_SAVE
tab 0, row 0: IDS_SAVE
tab 0, row 0: IDS_SAVE
tab 1, row 0: IDS_SAVE
EOF
# A table of one category whose name holds an '&'.
printf '2 rows\n' >"$work/in/one_rows.txt"
printf '[3,Q&A]\r\n1000,IDS_QA,-1,\r\n0=Questions & answers\r\n1001,IDS_QA2,4,\r\n0=More\r\n' >"$work/in/one.txt"
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
  local folder=bin
  [[ "$program" == editor_script ]] && folder=bench
  if [[ "$system" == linux ]]; then
    (cd "$work/linux" && QT_QPA_PLATFORM=offscreen timeout 120 "$root/build/$folder/$program" "$@")
  else
    (cd "$work/windows" && timeout 120 "$wine" "$windows_build/$folder/$program.exe" "$@")
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
  # The translators' files, and a database that took them back (the XLIFF read by libxml2 on
  # Linux and XmlLite on Windows).
  run "$system" tdbtool export-po strings.tdb de.po --language 1 --language-code de
  run "$system" tdbtool export-xliff strings.tdb de.xlf --language 1 --language-code de
  sed 's/Déjà/Schon/; s/state="needs-translation"\/>/state="translated">Beenden<\/target>/' \
    "$work/$system/de.xlf" >"$work/$system/de_translated.xlf"
  run "$system" tdbtool import-table "$(path "$system" "$work/in/table.txt")" translated.tdb
  run "$system" tdbtool import-xliff translated.tdb de_translated.xlf --language 1 | tr -d '\r' >"$work/$system/import.txt"
  run "$system" tdbtool check --translations translated.tdb --json | tr -d '\r' >"$work/$system/check.json" || true
  run "$system" tdbtool stats translated.tdb | tr -d '\r' >"$work/$system/stats.txt"
  # Standard output is a text stream: on Windows its lines end in CR LF; the rest must match.
  run "$system" tdbtool dump strings.tdb | tr -d '\r' >"$work/$system/dump.json"
  run "$system" vxmtool from-obj "$(path "$system" "$work/in/model.obj")" new.vxm --format 40002
  run "$system" vxmtool from-obj "$(path "$system" "$work/in/model.obj")" old.vxm
  run "$system" facetrue old.vxm </dev/null >/dev/null
  # The editor: import the table, save it and export both formats, then open and save again
  # tdbtool's database.
  run "$system" editor_script "import=$(path "$system" "$work/in/table.txt")" saveas=editor.tdb \
    header=editor_ids.h table=editor_table.txt open=strings.tdb saveas=editor_resaved.tdb 2>/dev/null
  # A file of one category: opened, its only tab clicked, the list shows its strings.
  run "$system" tdbtool import-table "$(path "$system" "$work/in/one.txt")" one.tdb
  run "$system" editor_script "import=$(path "$system" "$work/in/one.txt")" saveas=editor_one.tdb new \
    open=one.tdb click saveas=editor_one_resaved.tdb 2>/dev/null | tr -d '\r' >"$work/$system/one_rows.txt"
  # The View menu: translation language 2, its text of IDS_NEW edited; the filter in the tab and in
  # all categories, Escape; Only untranslated and F8; Check translations and its second hit shown.
  run "$system" tdbtool import-table "$(path "$system" "$work/in/view_edited.txt")" view_edited.tdb
  run "$system" editor_script "import=$(path "$system" "$work/in/view.txt")" language=2 click select=1 \
    edit=Neues rows filterbar filter=qu rows all rows escape rows untranslated rows f8 rows check rows \
    hit=1 rows saveas=editor_view.tdb 2>/dev/null | tr -d '\r' >"$work/$system/view_steps.txt"
  run "$system" tdbtool check --translations view_edited.tdb --language 2 | tr -d '\r' |
    sed -E 's/^string ([0-9]+) "([^"]*)": language 2: /\2|\1|/' >"$work/$system/view_check_tdbtool.txt" || true
  awk -F'|' '/\|Problem$/ { on = 1; next } /^status: / && on { exit } on { print $1 "|" $2 "|" $4 }' \
    "$work/$system/view_steps.txt" >"$work/$system/view_check.txt"
  awk '/\|Problem$/ { results = 1 } /^status: / { results = 0 } /^tab / { if (line) print line; line = $0 ":" }
    /^IDS_/ && !results { line = line " " substr($0, 1, index($0, "|") - 1) } END { print line }' \
    "$work/$system/view_steps.txt" >"$work/$system/view_rows.txt"
done

failed=0
count=0
# same A B WHAT: counts one comparison of two files.
same() {
  count=$((count + 1))
  if cmp -s "$1" "$2"; then
    echo "same: $3"
  else
    echo "DIFFERENT: $3" >&2
    failed=$((failed + 1))
  fi
}
count=$((count + 1))
if diff -r "$work/linux-extracted" "$work/windows-extracted" >/dev/null; then
  echo "same: the archive's members extracted"
else
  echo "DIFFERENT: the archive's members extracted (Linux and Windows builds)" >&2
  failed=$((failed + 1))
fi
for file in "$work/linux"/*; do
  same "$file" "$work/windows/$(basename "$file")" "$(basename "$file") (Linux and Windows builds)"
done
# The editors write what tdbtool writes.
for pair in editor.tdb:strings.tdb editor_resaved.tdb:strings.tdb editor_ids.h:string_ids.h \
  editor_table.txt:string_table.txt editor_one.tdb:one.tdb editor_one_resaved.tdb:one.tdb \
  editor_view.tdb:view_edited.tdb view_check.txt:view_check_tdbtool.txt; do
  for system in linux windows; do
    same "$work/$system/${pair%%:*}" "$work/$system/${pair##*:}" "$system ${pair%%:*} and tdbtool's ${pair##*:}"
  done
done
same "$work/linux/one_rows.txt" "$work/in/one_rows.txt" "the list of the only tab after a click (2 rows)"
same "$work/linux/view_rows.txt" "$work/in/view_rows.txt" "the rows of the View steps"
echo "compare-windows: $((count - failed)) passed, $failed failed"
[[ "$failed" == 0 ]]

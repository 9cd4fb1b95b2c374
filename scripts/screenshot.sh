#!/usr/bin/env bash
# Makes docs/strandex.png, the README's screenshot: the editor with a small sample database,
# its second category selected, in a virtual X display (Xvfb). Installs what it needs from
# Debian's packages and builds the default preset first. With --windows it makes
# docs/strandex-windows.png of the Windows editor (build-mingw/bin/strandex.exe) under wine64
# instead, in the wine prefix of scripts/test-windows.sh, which must have run once. With
# --translation (beside --windows or not) it makes docs/strandex-translation.png (or
# strandex-translation-windows.png): the View menu's translation column of language 1 and the
# filter bar, "the" typed in it, in a window 1024 pixels wide. The editor starts with settings
# of its own (the View menu's choices), never the user's.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
TX_DEPS_EXTRA=(xvfb x11-apps netpbm xdotool)
source scripts/deps.sh

if [[ ! -f build/CMakeCache.txt ]]; then
  cmake --preset default
fi
cmake --build --preset default -j 2 --target strandex tdbtool
windows=0
translation=0
for option in "$@"; do
  case "$option" in
    --windows) windows=1 ;;
    --translation) translation=1 ;;
    *) echo "usage: scripts/screenshot.sh [--windows] [--translation]" >&2 && exit 2 ;;
  esac
done
if ((windows)); then
  cmake --build --preset mingw -j 2 --target strandex
fi

work="$(mktemp -d)"
trap 'kill "${editor:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

# A sample database made from a text table (format in docs/text-table.md).
printf '\xef\xbb\xbf' > "$work/sample.txt"
{
  echo '[1,Menus]'
  echo '1000,IDS_MENU_NEW_GAME,-1,'
  echo '0=New Game'
  echo '1=Nouvelle partie'
  echo '1001,IDS_MENU_LOAD_GAME,-1,'
  echo '0=Load Game'
  echo '1002,IDS_MENU_OPTIONS,-1,'
  echo '0=Options'
  echo '1003,IDS_MENU_QUIT,-1,'
  echo '0=Quit to Desktop'
  echo '[2,Dialogue]'
  echo '1010,IDS_DLG_GUARD_HALT,4012,guard_point'
  echo '0=Halt! Who goes there?'
  echo '1=Halte ! Qui va là ?'
  echo '1011,IDS_DLG_GUARD_PASS,4013,guard_wave'
  echo '0=Move along, traveller.'
  echo '1=Circulez, voyageur.'
  echo '1012,IDS_DLG_MERCHANT_HELLO,4020,merchant_bow'
  echo '0=Fine wares from across the sea!'
  echo "1=De belles marchandises d'outre-mer !"
  echo '1013,IDS_DLG_MERCHANT_BYE,-1,'
  echo '0=Come back any time.'
  echo '1014,IDS_DLG_KING_QUEST,4100,king_point'
  echo '0=Bring me the crown of the north, and half my kingdom is yours.'
  echo '1015,IDS_DLG_KING_THANKS,4101,'
  echo '0=You have done the realm a great service.'
  echo '1=You have done the realm a great service.'
  echo '[3,Items]'
  echo '1020,IDS_ITEM_SWORD,-1,'
  echo '0=Rusty Sword'
  echo '1021,IDS_ITEM_SHIELD,-1,'
  echo '0=Oak Shield'
  echo '[4,Tutorial]'
  echo '1030,IDS_TUT_MOVE,5000,'
  echo '0=Use the arrow keys to move.'
} | sed 's/$/\r/' >> "$work/sample.txt"
build/bin/tdbtool import-table "$work/sample.txt" "$work/sample.tdb" > /dev/null

width=800
((translation)) && width=1024
Xvfb :97 -screen 0 1044x640x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
export DISPLAY=:97
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
if ((windows)); then
  export WINEPREFIX="$root/build-mingw/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
  # A wine session of the prefix left from before would draw on another display.
  /usr/lib/wine/wineserver64 -k > /dev/null 2>&1 || true
  # The View menu's choices, in the prefix's registry.
  /usr/lib/wine/wine64 reg delete 'HKCU\Software\strandex' /f > /dev/null 2>&1 || true
  if ((translation)); then
    /usr/lib/wine/wine64 reg add 'HKCU\Software\strandex' /v TranslationLanguage /t REG_DWORD /d 1 /f \
      > /dev/null 2>&1
  fi
  /usr/lib/wine/wine64 build-mingw/bin/strandex.exe "Z:${work//\//\\}\\sample.tdb" &
  editor=$!
  trap 'kill "${editor:-}" 2>/dev/null || true; /usr/lib/wine/wineserver64 -k > /dev/null 2>&1 || true; kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
  output=docs/strandex-windows.png
  # Wine draws the caption itself: the tabs stand 20 pixels lower than under Qt.
  tab_y=52
  filter_y=88
  header_y=108
  divider_x=855
else
  mkdir -p "$work/config/strandex"
  ((translation)) && printf '[General]\nTranslationLanguage=1\nFilterBar=1\n' > "$work/config/strandex/strandex.conf"
  XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb build/bin/strandex "$work/sample.tdb" &
  editor=$!
  output=docs/strandex.png
  tab_y=32
  filter_y=68
  header_y=90
  divider_x=850
fi
for _ in $(seq 100); do
  xdotool search --name 'Advanced string editor' > /dev/null 2>&1 && break
  sleep 0.1
done
sleep 1
# The list stays empty until a tab is chosen: click the second tab ("Dialogue"). Without a
# window manager the window stands at the top left corner, its tabs just below the menu bar.
xdotool mousemove 100 "$tab_y" click 1
sleep 1
if ((translation)); then
  output="${output/strandex/strandex-translation}"
  # Wider: Qt's window follows the X window; wine's is dragged by its right border.
  if ((windows)); then
    xdotool mousemove 798 300 mousedown 1 mousemove 900 300 mousemove "$((width - 2))" 300 mouseup 1
    # View, Filter bar (the menu's last item).
    sleep 1
    xdotool key F10 Right Right Right Down Up Return
  else
    xdotool search --name 'Advanced string editor' windowsize --sync "$width" 600 || true
  fi
  sleep 1
  # The column "English text" made narrower by its divider, so that "Text (1)" shows; then
  # "the" typed into the filter.
  xdotool mousemove "$divider_x" "$header_y" mousedown 1 mousemove 760 "$header_y" \
    mousemove "$((divider_x - 160))" "$header_y" mouseup 1
  sleep 0.5
  xdotool mousemove 200 "$filter_y" click 1
  xdotool type --delay 100 the
  sleep 1
fi
xwd -root -silent | xwdtopnm 2> /dev/null | pnmcut -left 0 -top 0 -width "$width" -height 600 | pnmtopng > "$output"
if ((windows)); then
  kill "$editor" 2> /dev/null || true
  /usr/lib/wine/wine64 reg delete 'HKCU\Software\strandex' /f > /dev/null 2>&1 || true
fi
echo "wrote $output"

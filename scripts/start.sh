#!/usr/bin/env bash
# Installs what is missing, builds the editor with the default preset and starts it.
# Arguments are passed on to the editor (a .tdb file to open).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/deps.sh"

if [[ ! -f build/CMakeCache.txt || ! -f build/build.ninja ]]; then
  cmake --preset default
fi
cmake --build --preset default -j 2 --target strandex

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "The editor is built (build/bin/strandex), but there is no display to show it on:" >&2
  echo "run this from a desktop session, or set DISPLAY." >&2
  exit 1
fi
exec build/bin/strandex "$@"

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

exec build/bin/strandex "$@"

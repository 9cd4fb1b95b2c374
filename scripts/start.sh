#!/usr/bin/env bash
# Installs what is missing, builds the default preset and starts the editor.
# Arguments are passed on to the editor.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

"$root/scripts/deps.sh"

if [[ ! -f build/CMakeCache.txt || ! -f build/build.ninja ]]; then
  cmake --preset default
fi
cmake --build --preset default -j 2

if [[ -x build/bin/strandex ]]; then
  exec build/bin/strandex "$@"
fi
echo "The editor is not built yet (build/bin/strandex does not exist); everything else was built."
exit 0

#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test.
# Usage: scripts/test.sh [default|asan] [extra cmake configure arguments...]
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

preset=default
if [[ $# -gt 0 && ( "$1" == "asan" || "$1" == "default" ) ]]; then
  preset="$1"
  shift
fi

"$root/scripts/deps.sh"

cmake --preset "$preset" "$@"
cmake --build --preset "$preset" -j 2
ctest --preset "$preset"

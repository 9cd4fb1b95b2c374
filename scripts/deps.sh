#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Can be run or sourced. Does nothing (and touches no network) when every
# package is already installed. Installs as root when run as root (a
# container, a CI image; sudo need not exist), else through sudo, which asks
# for a password only on a terminal. Without either it prints the apt-get line
# to run as root and fails.

TX_DEPS_PACKAGES=(
  build-essential cmake ninja-build g++ gcc clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev
  qt6-base-dev
  g++-mingw-w64-x86-64-posix wine64 googletest
  # The 32-bit Windows build (i686 preset) and the Windows installers (CPack's NSIS generator).
  g++-mingw-w64-i686-posix nsis
  # The Windows editor's tests create windows under wine, on a virtual display, and measure
  # the labels of its dialogs at wine's Tahoma, the font of Windows' dialogs.
  xvfb fonts-wine
  # The PO exchange tests and benchmark run msgfmt, msgcat, msgfilter, msginit and msgmerge.
  gettext
  # The manual pages' test renders them with groff, as man does.
  groff-base man-db
  # The XLIFF import reads XML with libxml2 (on Linux); the tests validate the XLIFF export with
  # xmllint and take PO and XLIFF files through translate-toolkit (po2xliff, xliff2po) and Qt's
  # lconvert.
  libxml2-dev libxml2-utils translate-toolkit qt6-l10n-tools
  # The install test validates the AppStream metainfo and the desktop entry and has the MIME
  # database (and gio, which asks it) recognise a .tdb by its first bytes.
  appstream desktop-file-utils shared-mime-info libglib2.0-bin
)
# Scripts that need more (the screenshot) name it in TX_DEPS_EXTRA before sourcing this file.
TX_DEPS_PACKAGES+=(${TX_DEPS_EXTRA[@]+"${TX_DEPS_EXTRA[@]}"})

# What the benchmark scripts in bench/ run besides the build and gettext's msgfmt:
# /usr/bin/time. "scripts/deps.sh bench" installs it too.
TX_BENCH_PACKAGES=(time)
if [[ "${1:-}" == "bench" ]]; then
  TX_DEPS_PACKAGES+=("${TX_BENCH_PACKAGES[@]}")
fi

# "scripts/deps.sh coverage" adds gcovr, which reports the coverage preset's line coverage.
TX_COVERAGE_PACKAGES=(gcovr)
if [[ "${1:-}" == "coverage" ]]; then
  TX_DEPS_PACKAGES+=("${TX_COVERAGE_PACKAGES[@]}")
fi

# "scripts/deps.sh wine32" adds Debian's 32-bit wine, for the 32-bit Windows programs' tests
# and the installers (whose NSIS stub is a 32-bit program). It needs the i386 architecture,
# which is added only here, so that the ordinary setup leaves dpkg's architectures as they are.
TX_WINE32_PACKAGES=(wine32:i386)
if [[ "${1:-}" == "wine32" ]]; then
  TX_DEPS_PACKAGES+=("${TX_WINE32_PACKAGES[@]}")
fi

tx_deps_missing() {
  local pkg status
  for pkg in "${TX_DEPS_PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    if [[ "$status" != *" installed" ]]; then
      printf '%s\n' "$pkg"
    fi
  done
}

tx_deps_install() {
  local missing
  mapfile -t missing < <(tx_deps_missing)
  if ((${#missing[@]} == 0)); then
    return 0
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A package of the i386 architecture needs that architecture known to dpkg before apt's update.
  local arch=(true)
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    arch=(dpkg --add-architecture i386)
  fi
  if [[ "$(id -u)" -eq 0 ]]; then
    echo "Installing missing packages: ${missing[*]}" >&2
    "${arch[@]}" && apt-get update && apt-get install -y --no-install-recommends "${missing[@]}"
  elif command -v sudo >/dev/null 2>&1 && { sudo -n true 2>/dev/null || [[ -t 0 ]]; }; then
    echo "Installing missing packages with sudo: ${missing[*]}" >&2
    sudo "${arch[@]}" && sudo env DEBIAN_FRONTEND=noninteractive apt-get update &&
      sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  else
    echo "Some required packages are missing; run this as root:" >&2
    echo "apt-get install ${missing[*]}" >&2
    return 1
  fi
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
  tx_deps_install
  exit $?
else
  tx_deps_install
fi

#!/usr/bin/env bash
# Installs what Fenmarq needs to build, test and benchmark on Debian 12 or 13.
# Runs apt-get as root, or through sudo when started by another user.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic xvfb xauth
  clang libclang-rt-dev
  qt6-svg-dev
  hyperfine time
  # The Debian packages (every Build-Depends of debian/control is above) and
  # their checks: validators, manual pages, lintian, gio for the MIME defaults.
  dpkg-dev debhelper dh-python desktop-file-utils appstream man-db lintian libglib2.0-bin
  python3-all-dev autopkgtest autodep8 mmdebstrap
  # Reads the analysis table in one end-to-end test (about 12 MB to fetch); the
  # Python module (pybind11, numpy) and its tests, with the scale-out recipes
  # (Dask, GNU parallel).
  python3-pandas python3-dev pybind11-dev python3-numpy python3-pytest
  python3-dask python3-distributed parallel
  # The README's R examples, which the doc-test runs.
  r-base-core r-cran-readr
  # The Windows build: mingw-w64 (posix threads), GoogleTest's sources, wine.
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine64 util-linux
  # The Windows installer: wixl builds it, msiinfo (msitools) reads its tables.
  wixl msitools
  # The Japanese locale, under which wine runs as a Japanese Windows does.
  locales
)

# Node.js and npm check the table's schema; a Node.js from elsewhere that
# brings its own npm is kept.
command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes its code page and language from the locale: the Windows suite's
# Japanese rows run under ja_JP.UTF-8 (code page 932, language 0x0411).
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" localedef -i ja_JP -c -f UTF-8 ja_JP.UTF-8
fi

# The npm packages of the schema checker and of the doc-test (DuckDB), as
# their lock files pin them, into their git-ignored node_modules.
tests="$(dirname "$0")/../tests"
(cd "$tests/schema" && { [ -d node_modules/tableschema ] || npm ci --no-audit --no-fund --loglevel=error; })
(cd "$tests/docs" && { [ -d node_modules/@duckdb/node-api ] || npm ci --no-audit --no-fund --loglevel=error; })

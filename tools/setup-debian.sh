#!/usr/bin/env bash
# Installs what Fenmarq needs to build, test and benchmark on Debian 12.
# Runs apt-get as root, or through sudo when started by another user.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic xvfb xauth
  clang libclang-rt-14-dev
  qt6-svg-dev
  hyperfine time
  # The Debian packages (every Build-Depends of debian/control is above) and
  # their checks: validators, manual pages, lintian, gio for the MIME defaults.
  dpkg-dev debhelper desktop-file-utils appstream man-db lintian libglib2.0-bin
  # Reads the analysis table in one end-to-end test (about 12 MB to fetch).
  python3-pandas
  # The Windows build: mingw-w64 (posix threads), GoogleTest's sources, wine.
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine64 util-linux
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Builds the release packages:
#   tools/package.sh            the Debian packages, the Windows zip and installer
#   tools/package.sh windows    the Windows zip and installer alone
# The Debian packages come from the source package in debian/:
# dpkg-buildpackage runs in a copy of the tree in build-package/ (it writes
# the packages beside the tree it builds), giving the source package
# (build-package/fenmarq_<version>.dsc and .tar.xz) and
#   build-package/fenmarq-cli_<version>_<arch>.deb   the command line
#   build-package/fenmarq_<version>_<arch>.deb       the window
#   build-package/python3-fenmarq_<version>_<arch>.deb  the Python module
# and their -dbgsym packages. The test suite runs in that build unless
# DEB_BUILD_OPTIONS holds nocheck. tools/check-package.sh checks them.
# The Windows zip, build-package-windows/fenmarq-<version>-win64.zip, is made
# by CPack from the windows preset's cross build in build-windows/ (the one
# tools/test-windows.sh tests; the tests are built but not installed):
# fenmarq.exe, fenmarq-cli.exe, README-Windows.txt and LICENSE at its root,
# to unpack into a folder of the user's choice. The windows preset's tests
# (WindowsZip.*) check a zip made the same way from that build. Beside it,
# fenmarq-<version>-win64.msi installs the same programs into Program Files
# with a Start-menu entry and a Send To entry (WindowsMsi.* checks it).
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-all}" in
  all | windows) ;;
  *)
    echo "usage: tools/package.sh [windows]" >&2
    exit 2
    ;;
esac
tools/setup-debian.sh

if [ "${1:-all}" = all ]; then
  version=$(dpkg-parsechangelog -S Version)
  rm -rf build-package
  source=build-package/fenmarq-$version
  mkdir -p "$source"
  # The tree as git sees it, uncommitted changes included, without build folders.
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$source"
  (cd "$source" && dpkg-buildpackage -us -uc -J"$(nproc)")
  ls build-package/*.deb
fi

cmake --preset windows
cmake --build --preset windows -j"$(nproc)"
rm -rf build-package-windows
cpack -G ZIP --config build-windows/CPackConfig.cmake -B build-package-windows
cp build-windows/fenmarq-*-win64.msi build-package-windows/

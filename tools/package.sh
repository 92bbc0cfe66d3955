#!/usr/bin/env bash
# Builds the release packages: the Debian package, fenmarq_<version>_<arch>.deb
# (both programs, desktop entry, AppStream metadata, icons, manual pages),
# written to build-package/, and the Windows zip, fenmarq-<version>-win64.zip
# (fenmarq.exe, fenmarq-cli.exe, README, licence), written to build-package-windows/.
# tools/check-package.sh checks the Debian package afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset default -B build-package -DFENMARQ_BUILD_TESTS=OFF
cmake --build build-package -j"$(nproc)"
(cd build-package && cpack -G DEB)
cmake --preset windows -B build-package-windows -DFENMARQ_BUILD_TESTS=OFF
cmake --build build-package-windows -j"$(nproc)"
(cd build-package-windows && cpack -G ZIP)

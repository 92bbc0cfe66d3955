#!/usr/bin/env bash
# Builds the release packages: the Windows zip, fenmarq-<version>-win64.zip
# (fenmarq-cli.exe, README, licence), written to build-package-windows/.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset windows -B build-package-windows -DFENMARQ_BUILD_TESTS=OFF
cmake --build build-package-windows -j"$(nproc)"
(cd build-package-windows && cpack -G ZIP)

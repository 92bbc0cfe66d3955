#!/usr/bin/env bash
# Sets up, cross-builds the Windows programs with mingw-w64 and runs every
# test under wine; stops wine's server of the test prefix at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset windows
cmake --build --preset windows -j"$(nproc)"
trap 'tools/wine-run.sh --stop' EXIT
ctest --preset windows -j"$(nproc)"

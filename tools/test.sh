#!/usr/bin/env bash
# Sets up, builds and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset default
cmake --build --preset default -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --preset default -j"$(nproc)"

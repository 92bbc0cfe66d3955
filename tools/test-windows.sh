#!/usr/bin/env bash
# Sets up, cross-builds the Windows programs with mingw-w64 and runs every
# test under wine; stops wine's server of the test prefix at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset windows
cmake --build --preset windows -j"$(nproc)"
trap 'tools/wine-run.sh --stop' EXIT
# The window's test needs a display: a virtual one where there is none.
if [ -n "${DISPLAY:-}" ]; then
  ctest --preset windows -j"$(nproc)"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows -j"$(nproc)"
fi

#!/usr/bin/env bash
# Sets up, cross-builds the Windows programs with mingw-w64 and runs every
# test under wine; stops wine's server of the test prefix at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset windows
cmake --build --preset windows -j"$(nproc)"
trap 'tools/wine-run.sh --stop' EXIT
ctest --preset windows -j"$(nproc)" -E '^WindowTest[./]'
# The window's tests need a display: a virtual one where there is none. Wine's
# server is started afresh inside it, so that wine's desktop process knows
# the display before the first window test starts; they run one at a time.
tools/wine-run.sh --stop
display=()
[ -n "${DISPLAY:-}" ] || display=(xvfb-run -a -s "-screen 0 1280x1024x24")
"${display[@]}" ctest --preset windows -R '^WindowTest[./]'

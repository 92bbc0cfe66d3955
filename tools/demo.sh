#!/usr/bin/env bash
# Sets up, builds, writes one sample day file per record format into demo/
# and converts them all; then opens the window there when a display is set.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset default
cmake --build --preset default -j"$(nproc)"
build/fenmarq-cli samples demo
cd demo
../build/fenmarq-cli convert amd_1min_20160412.62078 amd_10sec_20160412.62078 \
  sfc_10sec_20160412.47662 sfc_10sec_20120601.47662 sfc_1min_20160412.47662
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x ../build/app/fenmarq ]; then
  ../build/app/fenmarq
fi

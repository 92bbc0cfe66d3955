#!/usr/bin/env bash
# Pictures the Windows window after converting the sample files, under wine
# in a virtual desktop on a virtual display, for the README:
# docs/screenshot-windows.png. Besides what tools/setup-debian.sh installs it
# needs ImageMagick (Debian's imagemagick) to write the PNG file, and wine's
# own fonts (fonts-wine) for the symbols of the caption's buttons.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
tools/setup-debian.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target fenmarq-cli fenmarq_window_screenshot

# A prefix of its own, whose Japanese dialog font maps to IPAPGothic.
export WINEPREFIX=${XDG_CACHE_HOME:-$HOME/.cache}/fenmarq/wine-screenshot
wine=("$repo/tools/wine-run.sh")
"${wine[@]}" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' \
  /d IPAPGothic /f >/dev/null

# The sample files in C:\観測データ, as a user might keep them.
work=$WINEPREFIX/drive_c/観測データ
rm -rf "$work" && mkdir -p "$work"
trap '"${wine[@]}" --stop; rm -rf "$work"' EXIT
cd "$work"
"${wine[@]}" "$repo/build-windows/bin/fenmarq-cli.exe" samples . >/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" "${wine[@]}" explorer /desktop=Fenmarq,960x720 \
  "$repo/build-windows/bin/fenmarq_window_screenshot.exe" window.bmp \
  amd_1min_20160412.62078 sfc_10sec_20160412.47662 sfc_1min_20160412.47662
/usr/bin/convert window.bmp "$repo/docs/screenshot-windows.png"
echo "wrote docs/screenshot-windows.png"

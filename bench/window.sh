#!/usr/bin/env bash
# Times one batch of ENTRIES copies of the sfc 1-minute sample in the window,
# from the click on the start button until the window is ready again, against
# fenmarq-cli converting the same list; medians of ROUNDS runs taken in turn.
# The Qt window runs on the display (a virtual one where there is none); the
# native window runs under wine when the Windows build (build-windows) is
# there. The ratio is window / command line.
# Usage: bench/window.sh [ENTRIES] [ROUNDS]   (default 300 and 5)
set -euo pipefail
count=${1:-300}
rounds=${2:-5}
cd "$(dirname "$0")/.."
repo=$PWD
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

cmake --build --preset default --target fenmarq-cli window_batch >/dev/null
windows=false
if [ -f build-windows/CMakeCache.txt ]; then
  cmake --build --preset windows --target fenmarq-cli window_batch >/dev/null
  windows=true
fi

# tmpfs keeps the disk out of the comparison.
base=/dev/shm
[ -d "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/fenmarq-window-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=$work/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
build/fenmarq-cli samples "$work/samples" >/dev/null
sample=$work/samples/sfc_1min_20160412.47662
mkdir -p "$work/run/HEXFiles" "$work/run/CSVFiles" "$work/run/CHKFiles"
: >"$work/list"
for ((i = 0; i < count; i++)); do
  mkdir -p "$work/copies/$i"
  cp "$sample" "$work/copies/$i/"
  echo "$work/copies/$i/$(basename "$sample")" >>"$work/list"
done
# Wine's drive Z: is the root of the file system.
sed 's|/|\\|g; s|^|Z:|' "$work/list" >"$work/list.windows"

seconds() { # COMMAND...: the wall-clock seconds it took
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

report() { # NAME WINDOW-TIMES CLI-TIMES
  local window cli
  window=$(median <"$2")
  cli=$(median <"$3")
  awk -v name="$1" -v n="$count" -v w="$window" -v c="$cli" 'BEGIN {
    printf "%s, %d entries: window %.3f s, fenmarq-cli %.3f s, ratio %.2f\n", name, n, w, c, w / c }'
}

cd "$work/run"
for ((round = 0; round < rounds; round++)); do
  "$repo/build/bench/window/window_batch" "$work/list" >>"$work/qt.window"
  seconds "$repo/build/fenmarq-cli" convert --files-from "$work/list" >>"$work/qt.cli"
  if $windows; then
    "$repo/tools/wine-run.sh" "$repo/build-windows/bin/window_batch.exe" "$work/list.windows" \
      >>"$work/win32.window"
    seconds "$repo/tools/wine-run.sh" "$repo/build-windows/bin/fenmarq-cli.exe" convert \
      --files-from "$work/list.windows" >>"$work/win32.cli"
  fi
done
report "Qt window" "$work/qt.window" "$work/qt.cli"
if $windows; then
  report "Win32 window under wine" "$work/win32.window" "$work/win32.cli"
  "$repo/tools/wine-run.sh" --stop
fi

#!/usr/bin/env bash
# Soak: batches of 100, 1,000 and 10,000 small entries through fenmarq-cli,
# convertible files of every rule mixed with entries that are not targets.
# Prints items per second and peak memory for each batch, and fails when
# peak memory grows with the number of items or the time per item does.
#
# Usage: bench/soak.sh [MAX_ITEMS]   (default 10000; the batches are 100,
#                                     1,000, ... up to MAX_ITEMS)
# Environment: FENMARQ_CLI        a fenmarq-cli to use instead of building one
#              FENMARQ_SOAK_DIR   where the work folder goes (default: /dev/shm
#                                 with 2 GiB free, else TMPDIR or /tmp)
#              FENMARQ_SOAK_JOBS  --jobs for every batch (default: none, one
#                                 worker per processor)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
max_items=${1:-10000}
jobs_option=()
[ -n "${FENMARQ_SOAK_JOBS:-}" ] && jobs_option=(--jobs "$FENMARQ_SOAK_JOBS")

if [ -n "${FENMARQ_CLI:-}" ]; then
  cli=$(realpath "$FENMARQ_CLI")
else
  cmake -S . -B build-soak -G Ninja -DCMAKE_BUILD_TYPE=Release -DFENMARQ_BUILD_TESTS=OFF \
    -DFENMARQ_BUILD_GUI=OFF >/dev/null
  cmake --build build-soak -j"$(nproc)" --target fenmarq-cli >/dev/null
  cli=$repo/build-soak/fenmarq-cli
fi
[ -x /usr/bin/time ] || { echo "soak: /usr/bin/time is needed (Debian package 'time')" >&2; exit 2; }

# tmpfs keeps the disk's write-back out of the figures; the outputs take up
# to about 1 GiB.
base=${FENMARQ_SOAK_DIR:-}
if [ -z "$base" ]; then
  base=${TMPDIR:-/tmp}
  if [ -d /dev/shm ] && [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -gt $((2 << 20)) ]; then
    base=/dev/shm
  fi
fi
work=$(mktemp -d "$base/fenmarq-soak.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir HEXFiles CSVFiles CHKFiles

# 100 stations' worth of small files (1 to 4,096 bytes) for each rule. Entries
# repeat them, so outputs are overwritten and the disk use stays bounded
# whatever the batch size; every item is still converted in full.
for station in $(seq 10000 10099); do
  for name in amd_1min_20160412 sfc_1min_20160412 amd_10sec_20160412 sfc_10sec_20160412 \
              sfc_10sec_20120601; do
    head -c $((RANDOM % 4096 + 1)) /dev/urandom >"${name}.${station}"
  done
done

# Entry i of a batch: of every 20 entries, 8 amd 1min, 6 sfc 1min, one of
# each 10sec rule, and 3 that match no rule (a note, a path into a folder that
# does not exist, an amd file dated before every rule); those are never opened.
entry() {
  local i=$1 station=$((10000 + ($1 / 20) % 100))
  case $((i % 20)) in
    0|1|2|3|4|5|6|7) echo "amd_1min_20160412.$station" ;;
    8|9|10|11|12|13) echo "sfc_1min_20160412.$station" ;;
    14) echo "amd_10sec_20160412.$station" ;;
    15) echo "sfc_10sec_20160412.$station" ;;
    16) echo "sfc_10sec_20120601.$station" ;;
    17) echo "notes_$station.txt" ;;
    18) echo "$work/elsewhere/readme" ;;
    19) echo "amd_1min_20010101.$station" ;;
  esac
}

peaks=()
rates=()
printf '%8s %12s %10s %14s\n' items seconds items/s peak_KiB
for items in 100 1000 10000 100000; do
  [ "$items" -le "$max_items" ] || break
  # The list goes through --files-from: 100,000 entries do not fit in the
  # arguments of a process.
  for ((i = 0; i < items; i++)); do entry "$i"; done >list.txt
  expected_done=$((items / 20 * 17))

  start=$EPOCHREALTIME
  status=0
  /usr/bin/time -v -o time.txt "$cli" convert "${jobs_option[@]}" --files-from list.txt \
    >log.txt 2>messages.txt || status=$?
  end=$EPOCHREALTIME
  if [ "$status" -ne 0 ] || [ -s messages.txt ]; then
    echo "soak: batch of $items ended with status $status" >&2
    cat messages.txt >&2
    exit 1
  fi
  done_items=$(grep -c 'ファイル変換 終了。' log.txt || true)
  if [ "$done_items" -ne "$expected_done" ]; then
    echo "soak: batch of $items converted $done_items items, expected $expected_done" >&2
    exit 1
  fi

  peak=$(sed -n 's/^\s*Maximum resident set size (kbytes): //p' time.txt)
  seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
  rate=$(awk -v n="$items" -v s="$seconds" 'BEGIN { print n / s }')
  printf '%8d %12.2f %10.1f %14d\n' "$items" "$seconds" "$rate" "$peak"
  peaks+=("$peak")
  rates+=("$rate")
done

# Flat memory: the largest batch peaks within 10 % and 4 MiB of the smallest.
# Linear time: no batch converts at less than half the rate of the 1,000 one
# (the 100-item batch is too short to time).
status=0
first_peak=${peaks[0]}
last_peak=${peaks[-1]}
if [ "$last_peak" -gt $((first_peak * 11 / 10 + 4096)) ]; then
  echo "soak: peak memory grows with the batch: $first_peak KiB at 100 items, $last_peak KiB at the end" >&2
  status=1
fi
if [ "${#rates[@]}" -ge 3 ]; then
  for rate in "${rates[@]:2}"; do
    if awk -v r="$rate" -v base="${rates[1]}" 'BEGIN { exit !(r < base / 2) }'; then
      echo "soak: time per item grows with the batch: ${rates[1]} items/s at 1,000, $rate later" >&2
      status=1
    fi
  done
fi
exit "$status"

#!/usr/bin/env bash
# Times the table of a month of sfc ten-second day files (30 files, 68 MB)
# against `convert --jobs 1` of the same files and against the table's I/O
# floor (read the inputs, write as many bytes as the table holds), all three
# in turn in every round (bench/interleaved_timer.c); prints medians, and the
# table's peak memory for one file and for thirty.
# Usage: bench/table.sh [RUNS]   (rounds, default 9)
set -euo pipefail
runs=${1:-9}
source "$(dirname "$0")/common.sh"
mkdir -p "$work/month"/{HEXFiles,CSVFiles,CHKFiles} "$work/floor"
files=()
# Thirty days of their own dates, so that each file's time stamps are its day's.
for day in $(seq -w 1 30); do
  files+=("sfc_10sec_201604$day.47662")
  "$cli" samples --date "201604$day" "$work/samples" >/dev/null
  mv "$work/samples/${files[-1]}" "$work/month/"
done
cd "$work/month"
table=("$cli" table -o "$work/table.csv" "${files[@]}")
"${table[@]}"
[ "$(wc -l <"$work/table.csv")" -eq $((1 + 30 * 8640)) ] || { echo "the table misses rows" >&2; exit 1; }
table_bytes=$(stat -c %s "$work/table.csv")

peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
peak_one=$(peak "$cli" table -o "$work/one.csv" "${files[0]}")
peak_all=$(peak "${table[@]}")

floor=()
for name in "${files[@]}"; do floor+=("$name" 0 $((table_bytes / 30)) "$work/floor"); done
"$repo/build-bench/bench/interleaved_timer" 1 "$runs" -- "$repo/build-bench/bench/copy_floor" \
  "${floor[@]}" -- "${table[@]}" -- "$cli" convert --jobs 1 "${files[@]}" >"$work/times.txt"
awk -v bytes="$table_bytes" -v one="$peak_one" -v all="$peak_all" '{ m[NR] = $1 / 1000 }
  END { printf "30 sfc 10sec files, table of %.1f MB: floor %.3f s; table %.3f s (%.2fx the floor); ",
               bytes / 1e6, m[1], m[2], m[2] / m[1]
        printf "convert --jobs 1 %.3f s (table/convert %.2f)\n", m[3], m[2] / m[3]
        printf "table peak memory: %d KiB for 1 file, %d KiB for 30\n", one, all }' "$work/times.txt"

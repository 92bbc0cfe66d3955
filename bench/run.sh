#!/usr/bin/env bash
# Times fenmarq-cli against the I/O floor and a byte-at-a-time version of the
# same pipeline, for every record format on realistic and random input.
# Every output is checked to be byte-identical before anything is timed. The
# floor and fenmarq-cli run in turn in every round (bench/interleaved_timer.c)
# so that bursts of load on a shared machine fall on both alike; the table
# shows median wall times.
# Usage: bench/run.sh [RUNS]   (rounds, default 30)
set -euo pipefail
runs=${1:-30}
source "$(dirname "$0")/common.sh"
floor=$repo/build-bench/bench/copy_floor
literal=$repo/build-bench/bench/literal_pipeline

mkdir -p "$work/inputs/realistic" "$work/inputs/random"
"$cli" samples "$work/inputs/realistic" >/dev/null
for f in "$work"/inputs/realistic/*_*; do
  head -c "$(stat -c %s "$f")" /dev/urandom >"$work/inputs/random/$(basename "$f")"
done

for dir in fenmarq literal floor; do mkdir -p "$work/$dir"/{HEXFiles,CSVFiles,CHKFiles}; done

timer=$repo/build-bench/bench/interleaved_timer
printf '%-26s %-9s %9s %9s %6s %9s %6s %8s\n' file input floor_ms fenmarq x literal x peak_KiB
for kind in realistic random; do
  for input in "$work"/inputs/$kind/*_*; do
    name=$(basename "$input")
    (cd "$work/fenmarq" && "$cli" convert "$input" >/dev/null)
    (cd "$work/literal" && "$literal" "$input")
    for out in "HEXFiles/HEX_$name.txt" "CSVFiles/CSV_$name.CSV" "CHKFiles/CHK_$name.txt"; do
      cmp -s "$work/fenmarq/$out" "$work/literal/$out" || { echo "outputs differ: $out" >&2; exit 1; }
    done
    hex_bytes=$(stat -c %s "$work/fenmarq/HEXFiles/HEX_$name.txt")
    csv_bytes=$(stat -c %s "$work/fenmarq/CSVFiles/CSV_$name.CSV")
    peak=$(cd "$work/fenmarq" && /usr/bin/time -f %M "$cli" convert "$input" 2>&1 >/dev/null | tail -1)
    # The floor and fenmarq-cli run in turn in every round; the literal
    # version, ten times slower, is timed on its own afterwards (the outputs
    # were compared above).
    (cd "$work/floor" && "$timer" 5 "$runs" -- "$floor" "$input" "$hex_bytes" "$csv_bytes" "$work/floor" \
      -- "$cli" convert "$input" && "$timer" 1 5 -- "$literal" "$input") >"$work/times.txt"
    awk -v name="$name" -v kind="$kind" -v peak="$peak" '{ m[NR] = $1 }
      END { printf "%-26s %-9s %9.2f %9.2f %6.2f %9.2f %6.2f %8d\n",
            name, kind, m[1], m[2], m[2] / m[1], m[3], m[3] / m[1], peak }' "$work/times.txt"
  done
done

# The hex rendering alone against the system's base16 encoder.
input=$work/inputs/random/sfc_10sec_20160412.47662
"$repo/build-bench/bench/hex_only" "$input" "$work/hex_only.txt"
basenc --base16 -w0 "$input" | cmp -s - "$work/hex_only.txt" || { echo "hex renderings differ" >&2; exit 1; }
hyperfine -N --warmup 5 --runs "$runs" --output="$work/basenc.txt" --export-csv "$work/hex.csv" \
  "$repo/build-bench/bench/hex_only $input $work/hex_only.txt" \
  "basenc --base16 -w0 $input" >/dev/null 2>&1
awk -F, 'NR > 1 { m[NR - 1] = $4 * 1000 }
  END { printf "\nhex rendering alone (%s): fenmarq %.2f ms, basenc --base16 -w0 %.2f ms\n",
        "sfc 10sec random", m[1], m[2] }' "$work/hex.csv"

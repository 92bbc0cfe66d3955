#!/usr/bin/env bash
# Times a batch of day files without --jobs (one worker per processor), with
# two jobs and with one, against the I/O floor run as two processes, and
# checks first that one and two jobs print the same log and write the same
# files.
# Usage: bench/jobs.sh [FILES]   (default 200)
set -euo pipefail
count=${1:-200}
source "$(dirname "$0")/common.sh"
"$cli" samples "$work/samples" >/dev/null

# Distinct day files: each sample under many station numbers.
mkdir -p "$work/batch"
samples=("$work"/samples/*_*)
files=()
for ((i = 0; i < count; i++)); do
  sample=${samples[i % ${#samples[@]}]}
  name=$(basename "$sample")
  copy="${name%.*}.$((10000 + i))"
  cp "$sample" "$work/batch/$copy"
  files+=("$copy")
done

# Each checked run in a folder of its own, so that a run that writes nothing
# cannot pass on what the other left behind.
for jobs in 1 2; do
  mkdir -p "$work/run$jobs"
  (cd "$work/run$jobs" &&
    "$cli" convert --make-dirs --jobs "$jobs" "${files[@]/#/$work/batch/}" >"$work/log$jobs" &&
    md5sum HEXFiles/* CSVFiles/* CHKFiles/* >"$work/sum$jobs")
done
[ "$(wc -l <"$work/sum1")" -eq $((3 * count)) ] || { echo "--jobs 1 wrote too few files" >&2; exit 1; }
cmp -s "$work/log1" "$work/log2" || { echo "logs differ between --jobs 1 and 2" >&2; exit 1; }
cmp -s "$work/sum1" "$work/sum2" || { echo "outputs differ between --jobs 1 and 2" >&2; exit 1; }

# The floor: the same reads and writes without any computing, as two
# processes that share the files between them.
floor_halves=("" "")
for ((i = 0; i < count; i++)); do
  name=${files[i]}
  floor_halves[i % 2]+=" $work/batch/$name $(stat -c %s "$work/run1/HEXFiles/HEX_$name.txt")"
  floor_halves[i % 2]+=" $(stat -c %s "$work/run1/CSVFiles/CSV_$name.CSV") $work/floor$((i % 2))"
done
mkdir -p "$work/floor0" "$work/floor1"
printf '#!/bin/sh\n%s &\n%s\nwait\n' "$repo/build-bench/bench/copy_floor ${floor_halves[0]}" \
  "$repo/build-bench/bench/copy_floor ${floor_halves[1]}" >"$work/floor.sh"
chmod +x "$work/floor.sh"

# FENMARQ_REFERENCE_CLI, when set, is another build of fenmarq-cli (an
# earlier version, say), timed with --jobs 2 in the same rounds.
reference=()
if [ -n "${FENMARQ_REFERENCE_CLI:-}" ]; then
  reference=(-- "$FENMARQ_REFERENCE_CLI" convert --jobs 2 "${files[@]}")
fi
cd "$work/batch"
mkdir -p HEXFiles CSVFiles CHKFiles
"$repo/build-bench/bench/interleaved_timer" 1 9 -- "$work/floor.sh" \
  -- "$cli" convert "${files[@]}" -- "$cli" convert --jobs 2 "${files[@]}" \
  -- "$cli" convert --jobs 1 "${files[@]}" "${reference[@]}" >"$work/times.txt"
awk -v n="$count" '{ m[NR] = $1 / 1000 }
  END { printf "%d files: floor (2 processes) %.3f s; default %.3f s (%.2fx the floor); ",
               n, m[1], m[2], m[2] / m[1]
        printf "--jobs 2 %.3f s; --jobs 1 %.3f s", m[3], m[4]
        if (NR > 4) printf "; reference --jobs 2 %.3f s", m[5]
        printf "\n" }' "$work/times.txt"

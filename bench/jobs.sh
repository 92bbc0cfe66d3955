#!/usr/bin/env bash
# Times a batch of day files with one job, with two, and without --jobs (one
# file at a time on two threads), and checks that one and two jobs print the
# same log and write the same files.
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

cd "$work/batch"
mkdir -p HEXFiles CSVFiles CHKFiles
"$repo/build-bench/bench/interleaved_timer" 1 9 -- "$cli" convert --jobs 1 "${files[@]}" \
  -- "$cli" convert --jobs 2 "${files[@]}" -- "$cli" convert "${files[@]}" >"$work/times.txt"
awk -v n="$count" '{ m[NR] = $1 / 1000 }
  END { printf "%d files: --jobs 1 %.3f s, --jobs 2 %.3f s (speed-up %.2f); without --jobs %.3f s\n",
        n, m[1], m[2], m[1] / m[2], m[3] }' "$work/times.txt"

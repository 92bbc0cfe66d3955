#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang and runs each one for
# a bounded time, starting from its seed corpus in tests/fuzz/corpus/<target>.
# Fails on any finding: a crash, a sanitizer report, a broken property, a leak,
# an input that runs too long.
#
#   tools/fuzz.sh [SECONDS]     seconds per target: the argument, else
#                               FENMARQ_FUZZ_SECONDS, else 30
#   FENMARQ_FUZZ_TARGETS        the targets to run (default: all three)
#   FENMARQ_FUZZ_BUILD_DIR      the build folder (default: build-fuzz)
#   FENMARQ_FUZZ_JOBS           parallel build jobs (default: 2)
#
# Inputs found during a run go to <build>/fuzz-work/<target>, findings to
# <build>/fuzz-artifacts/<target>; replay one with
#   <build>/tests/fuzz/<target> <file>
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-${FENMARQ_FUZZ_SECONDS:-30}}"
build="${FENMARQ_FUZZ_BUILD_DIR:-build-fuzz}"
jobs="${FENMARQ_FUZZ_JOBS:-2}"
read -r -a targets <<<"${FENMARQ_FUZZ_TARGETS:-file_name_fuzzer format_converter_fuzzer hex_dump_fuzzer}"

# Per-target options: the longest input worth mutating, and how long one
# input may run (a whole sheet of 8640 rows is written twice per input).
declare -A options=(
  [file_name_fuzzer]="-max_len=512 -timeout=10"
  [format_converter_fuzzer]="-max_len=1024 -timeout=60"
  [hex_dump_fuzzer]="-max_len=4096 -timeout=30"
)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFENMARQ_BUILD_FUZZ=ON -DFENMARQ_BUILD_GUI=OFF -DFENMARQ_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target "${targets[@]}"

# The hex target writes and reads back two files per input: tmpfs is faster.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

status=0
for target in "${targets[@]}"; do
  work="$build/fuzz-work/$target"
  artifacts="$build/fuzz-artifacts/$target/"
  log="$build/fuzz-work/$target.log"
  mkdir -p "$work" "$artifacts"
  # New inputs are written to the first folder only; the seeds stay as they are.
  # shellcheck disable=SC2086
  if "$build/tests/fuzz/$target" ${options[$target]:-} -max_total_time="$seconds" \
      -print_final_stats=1 -artifact_prefix="$artifacts" \
      "$work" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} inputs in ${seconds} s, no finding"
  else
    echo "$target: FINDING; log $log, input in $artifacts" >&2
    grep -v '^#[0-9]' "$log" | tail -n 60 >&2
    status=1
  fi
done
exit "$status"

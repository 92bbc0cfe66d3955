#!/usr/bin/env bash
# A month of sfc ten-second day files (30 files) into pandas: fenmarq.read_many
# against fenmarq-cli table followed by pd.read_csv, and the decoded table
# against table --raw; each pair timed in turn in every round. Prints medians.
# Usage: bench/pandas.sh [ROUNDS]   (default 7)
set -euo pipefail
rounds=${1:-7}
source "$(dirname "$0")/common.sh"
# The module, in the benchmark tree (common.sh builds without tests).
cmake -S . -B build-bench -DFENMARQ_BUILD_PYTHON=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target _fenmarq >/dev/null
# Thirty days of their own dates, so that each file's time stamps are its day's.
mkdir -p "$work/month"
for day in $(seq -w 1 30); do
  "$cli" samples --date "201604$day" "$work/samples" >/dev/null
  mv "$work/samples/sfc_10sec_201604$day.47662" "$work/month/"
done
PYTHONPATH="$repo/build-bench/python" /usr/bin/python3 - "$cli" "$work" "$rounds" <<'PY'
import glob, statistics, subprocess, sys, time
import pandas as pd
import fenmarq

cli, work, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
paths = sorted(glob.glob(f"{work}/month/sfc_10sec_*"))
table = f"{work}/month.csv"

def timed(action):
    start = time.perf_counter()
    action()
    return time.perf_counter() - start

def via_table():
    subprocess.run([cli, "table", "-o", table, *paths], check=True)
    return pd.read_csv(table)

def run_table(*options):
    subprocess.run([cli, "table", *options, "-o", table, *paths], check=True)

times = {name: [] for name in ("module", "table+read_csv", "table", "table --raw")}
for _ in range(rounds):
    times["module"].append(timed(lambda: fenmarq.read_many(paths)))
    times["table+read_csv"].append(timed(via_table))
    times["table"].append(timed(run_table))
    times["table --raw"].append(timed(lambda: run_table("--raw")))
m = {name: statistics.median(values) for name, values in times.items()}
print(f"30 sfc 10sec files, {rounds} rounds, medians:")
print(f"  fenmarq.read_many        {m['module']:.3f} s")
print(f"  table + pd.read_csv      {m['table+read_csv']:.3f} s "
      f"({m['table+read_csv'] / m['module']:.1f}x the module)")
print(f"  table (decoded)          {m['table']:.3f} s")
print(f"  table --raw              {m['table --raw']:.3f} s "
      f"(decoded/raw {m['table'] / m['table --raw']:.2f})")
PY

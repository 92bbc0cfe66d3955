# Sourced by the timing scripts: builds the benchmark tree (Release, no tests,
# no window) and makes a work folder on tmpfs, removed at exit. Sets repo,
# cli and work.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$PWD
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DFENMARQ_BUILD_BENCH=ON \
  -DFENMARQ_BUILD_TESTS=OFF -DFENMARQ_BUILD_GUI=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" >/dev/null
cli=$repo/build-bench/fenmarq-cli

# tmpfs keeps the disk out of the comparison.
base=/dev/shm
[ -d "$base" ] || base=${TMPDIR:-/tmp}
work=$(mktemp -d "$base/fenmarq-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

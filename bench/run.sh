#!/usr/bin/env bash
# Builds the benchmark, makes a medium of many small files and one large file
# in a temporary folder, and compares the installer's measurement and copy
# with du -sb and cp in one run.
#
#   bench/run.sh [FILES] [LARGE_SIZE] [REPEATS]     (defaults: 50000 1G 3)
set -euo pipefail
cd "$(dirname "$0")/.."

files="${1:-50000}"
largeSize="${2:-1G}"
repeats="${3:-3}"

cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target bench_measure_and_copy >/dev/null

work="$(mktemp -d "${TMPDIR:-/tmp}/quellmoor-bench-XXXXXX")"
cleanup() {
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "making a medium of $files small files and a $largeSize file in $work"
tools/make-medium.sh --files "$files" --large-size "$largeSize" --large-count 1 --dense "$work/medium"

# The benchmark runs in a prefix of its own, never in the user's.
export QUELLMOOR_PREFIX="$work/prefix"
build/bench/bench_measure_and_copy "$work/medium" "$work/medium/db/large files/chunk 0.pak" "$work/copies" "$repeats"

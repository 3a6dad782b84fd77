#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/, which leaves build/ alone, and
# runs each for SECONDS (default 60), or only the harnesses named:
#
#     bash tools/fuzz.sh [SECONDS] [HARNESS...]     e.g. tools/fuzz.sh 30 HiveFuzzer
#
# Each run starts from the seed corpus in tests/fuzz/corpus/<harness>/ and
# grows its own in build-fuzz/corpus/<harness>/. A crash, a leak, a timeout
# or a broken property stops that harness, keeps its input in
# build-fuzz/crashes/<harness>/ and fails the script once all have run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
source tools/packages.sh
qm_install_packages
qm_install_packages QM_FUZZ_PACKAGES

cmake -S . -B build-fuzz -G Ninja -DQM_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target qm_fuzzers -j "${QM_JOBS:-2}"

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for source in tests/fuzz/*Fuzzer.cpp; do harnesses+=("$(basename "$source" .cpp)"); done
fi

failed=()
for name in "${harnesses[@]}"; do
  corpus="build-fuzz/corpus/$name"
  crashes="build-fuzz/crashes/$name"
  log="build-fuzz/logs/$name.log"
  mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
  seeds=()
  [ -d "tests/fuzz/corpus/$name" ] && seeds=("tests/fuzz/corpus/$name")
  status=0
  "build-fuzz/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  time=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ "$status" -eq 0 ]; then
    echo "fuzz $name: ${runs:-?} executions in ${seconds} s (${time:-?}/s), 0 crashes"
  else
    echo "fuzz $name: FAILED after ${runs:-?} executions; input kept in $crashes/, log in $log"
    grep -E 'ERROR|property does not hold|SUMMARY' "$log" | head -5 || true
    failed+=("$name")
  fi
done
passed=$(( ${#harnesses[@]} - ${#failed[@]} ))
echo "fuzzing: $passed passed, ${#failed[@]} failed"
if [ ${#failed[@]} -gt 0 ]; then
  echo "harnesses that failed: ${failed[*]}"
  exit 1
fi

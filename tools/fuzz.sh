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
# Harnesses run side by side, one per core (QM_JOBS, default: the cores),
# each for the whole SECONDS.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
source tools/packages.sh
qm_install_packages
qm_install_packages QM_FUZZ_PACKAGES

jobs="${QM_JOBS:-$(nproc)}"
# -O1 with line tables: a crash's stack still names its lines, and the
# build costs a good deal less than -O2 with full debug information.
cmake -S . -B build-fuzz -G Ninja -DQM_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" >/dev/null
cmake --build build-fuzz --target qm_fuzzers -j "$jobs"

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for source in tests/fuzz/*Fuzzer.cpp; do harnesses+=("$(basename "$source" .cpp)"); done
fi

# One harness: its run, then its line of the summary in build-fuzz/logs/<harness>.result.
fuzz_one() {
  local name="$1" corpus="build-fuzz/corpus/$1" crashes="build-fuzz/crashes/$1" log="build-fuzz/logs/$1.log"
  local result="build-fuzz/logs/$1.result"
  mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
  local seeds=()
  [ -d "tests/fuzz/corpus/$name" ] && seeds=("tests/fuzz/corpus/$name")
  local status=0
  "build-fuzz/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  local runs time
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  time=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ "$status" -eq 0 ]; then
    echo "fuzz $name: ${runs:-?} executions in ${seconds} s (${time:-?}/s), 0 crashes" >"$result"
  else
    {
      echo "fuzz $name: FAILED after ${runs:-?} executions; input kept in $crashes/, log in $log"
      grep -E 'ERROR|property does not hold|SUMMARY' "$log" | head -5 || true
    } >"$result"
  fi
  return "$status"
}

failed=()
for ((first = 0; first < ${#harnesses[@]}; first += jobs)); do
  batch=("${harnesses[@]:first:jobs}")
  pids=()
  for name in "${batch[@]}"; do
    fuzz_one "$name" &
    pids+=("$!")
  done
  for index in "${!batch[@]}"; do
    wait "${pids[$index]}" || failed+=("${batch[$index]}")
    cat "build-fuzz/logs/${batch[$index]}.result"
  done
done
passed=$(( ${#harnesses[@]} - ${#failed[@]} ))
echo "fuzzing: $passed passed, ${#failed[@]} failed"
if [ ${#failed[@]} -gt 0 ]; then
  echo "harnesses that failed: ${failed[*]}"
  exit 1
fi

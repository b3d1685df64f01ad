#!/usr/bin/env bash
# Runs the libFuzzer targets of tests/fuzz for a while each, several at once.
#
#   bash tools/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS defaults to 600; TARGET defaults to every fuzz_* target. At most
# FUZZ_JOBS targets (default 4) run at the same time, each on one core at low
# priority. Each target starts from its committed corpus (tests/fuzz/corpus/
# <target>) and grows a working corpus in build-fuzz/fuzz-work/<target>;
# inputs that fail are written to build-fuzz/fuzz-artifacts/<target>/. Add a
# failing input to the committed corpus once the fault is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
jobs=${FUZZ_JOBS:-4}

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVEMAR_FUZZ=ON \
      -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build build-fuzz -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

# Longest input tried per target: a whole save file plus room, whole profile
# files, and the default elsewhere.
max_len() {
  case "$1" in
    fuzz_save_file) echo 32768 ;;
    fuzz_ini_profile | fuzz_descriptions) echo 16384 ;;
    *) echo 4096 ;;
  esac
}

run_one() {
  local t=$1 work=build-fuzz/fuzz-work/$1 out=build-fuzz/fuzz-artifacts/$1
  mkdir -p "$work" "$out"
  nice -n 10 "build-fuzz/tests/fuzz/$t" -max_total_time="$seconds" -max_len="$(max_len "$t")" \
       -print_final_stats=1 -artifact_prefix="$out/" "$work" "tests/fuzz/corpus/$t" \
       >"build-fuzz/fuzz-$t.log" 2>&1 || true
  local execs cov
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build-fuzz/fuzz-$t.log")
  cov=$(grep -E '^#[0-9]+' "build-fuzz/fuzz-$t.log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
  echo "$t: ${execs:-?} executions, ${cov:-no coverage line}, $(find "$out" -type f | wc -l) failing inputs (log build-fuzz/fuzz-$t.log)"
}

running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: once in a
# plain build and once with AddressSanitizer and UndefinedBehaviorSanitizer.
# The plain build's test binaries also run once with their tests shuffled.
# Last, it builds the libFuzzer targets with clang and replays their committed
# corpora (tools/fuzz.sh runs them for longer). Compiler warnings are errors
# in all three builds, and a C++ file that clang-format 14 would change fails
# the run first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
jobs=$(nproc)

echo "== format =="
# Every C++ file but the generated tables, as .clang-format lays it out. The
# layout is the one clang-format 14 (Debian 12's) makes; other versions lay
# some lines out differently, so the check calls that version by name.
formatter=clang-format-14
command -v "$formatter" >/dev/null ||
  { echo "Format check: $formatter is not installed (tools/install-deps.sh installs it)."; exit 1; }
"$formatter" --version | grep -q ' version 14\.' ||
  { echo "Format check: $formatter reports \"$("$formatter" --version)\", not version 14."; exit 1; }
files=$(bash tools/format-files.sh) || { echo "Format check: tools/format-files.sh failed."; exit 1; }
mapfile -t format_files <<<"$files"
[ -n "$files" ] || { echo "Format check: tools/format-files.sh found no C++ files."; exit 1; }
if ! report=$("$formatter" --dry-run --Werror "${format_files[@]}" 2>&1); then
  unformatted=$(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' <<<"$report" | sort -u)
  if [ -n "$unformatted" ]; then
    echo "Not laid out as .clang-format says; run $formatter -i on them (see CONTRIBUTING.md):"
    sed 's/^/  /' <<<"$unformatted"
  else
    tail -n 20 <<<"$report"
    echo "Format check: $formatter failed (its output is above)."
  fi
  exit 1
fi
echo "${#format_files[@]} files laid out as .clang-format says"

echo "== plain build =="
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVEMAR_WERROR=ON
cmake --build build-test -j "$jobs"
(cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs") | tee build-test/ctest.log

echo "== shuffled pass =="
# Every suite must pass in any order: both test binaries once more, their
# tests in a random order (gtest prints the seed to repeat it with).
shuffled_passed=0
shuffled_skipped=0
for binary in tolvemar_core_tests tolvemar_ui_tests; do
  log="build-test/shuffled-$binary.log"
  (cd build-test && QT_QPA_PLATFORM=offscreen "tests/$binary" --gtest_shuffle --gtest_random_seed=0) >"$log" 2>&1 ||
    { grep -E 'seed of|FAILED' "$log" | head -n 40; exit 1; }
  grep -m 1 'seed of' "$log" || true
  shuffled_passed=$((shuffled_passed + $(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests*\..*/\1/p' "$log" | tail -n 1)))
  skipped_here=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests*, listed below:.*/\1/p' "$log" | tail -n 1)
  shuffled_skipped=$((shuffled_skipped + ${skipped_here:-0}))
done

echo "== sanitizer build =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVEMAR_WERROR=ON -DTOLVEMAR_SANITIZE=ON -DTOLVEMAR_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs") | tee build-asan/ctest.log

echo "== fuzz targets: corpus replay =="
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVEMAR_WERROR=ON -DTOLVEMAR_FUZZ=ON \
      -DCMAKE_CXX_COMPILER=clang++-14
cmake --build build-fuzz -j "$jobs"
replays=0
for source in tests/fuzz/fuzz_*.cpp; do
  target=$(basename "$source" .cpp)
  inputs=(tests/fuzz/corpus/"$target"/*)
  echo "-- $target: ${#inputs[@]} inputs"
  "build-fuzz/tests/fuzz/$target" "${inputs[@]}" >"build-fuzz/replay-$target.log" 2>&1 ||
    { tail -n 40 "build-fuzz/replay-$target.log"; exit 1; }
  replays=$((replays + ${#inputs[@]}))
done

# The closing line adds up the four runs, so a test that runs in several of
# them counts once in each; the line above it says what each run contributed.
# A ctest log gives its total and failures; its skipped tests are listed at
# the end, each line ending in "(Skipped)".
ctest_counts() {
  local total failed skipped
  read -r total failed <<<"$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$1" | tail -n 1)"
  skipped=$(grep -c '(Skipped)$' "$1" || true)
  echo "$((total - failed - skipped)) $failed $skipped"
}
read -r plain_passed plain_failed plain_skipped <<<"$(ctest_counts build-test/ctest.log)"
read -r asan_passed asan_failed asan_skipped <<<"$(ctest_counts build-asan/ctest.log)"
echo "runs: plain $plain_passed passed, $plain_failed failed, $plain_skipped skipped;" \
     "sanitizer $asan_passed passed, $asan_failed failed, $asan_skipped skipped;" \
     "shuffled $shuffled_passed passed, $shuffled_skipped skipped; corpus replay $replays inputs passed"
passed=$((plain_passed + asan_passed + shuffled_passed + replays))
failed=$((plain_failed + asan_failed))
skipped=$((plain_skipped + asan_skipped + shuffled_skipped))
echo "tests: $passed passed, $failed failed, $skipped skipped"

#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: once in a
# plain build and once with AddressSanitizer and UndefinedBehaviorSanitizer.
# The plain build's test binaries also run once with their tests shuffled.
# Last, it builds the libFuzzer targets with clang and replays their committed
# corpora (tools/fuzz.sh runs them for longer). Compiler warnings are errors
# in all three builds, and an unformatted C++ file fails the run first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
jobs=$(nproc)

echo "== format =="
# Every C++ file but the generated tables as .clang-format lays it out.
git ls-files -z '*.cpp' '*.h' ':!resources/generated' | xargs -0 clang-format --dry-run --Werror ||
  { echo "Files above are not formatted: run clang-format -i on them (see CONTRIBUTING.md)."; exit 1; }

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
  (cd build-test && TOLVEMAR_SOURCE_DIR="$PWD/.." QT_QPA_PLATFORM=offscreen \
     "tests/$binary" --gtest_shuffle --gtest_random_seed=0) >"$log" 2>&1 ||
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
for source in tests/fuzz/fuzz_*.cpp; do
  target=$(basename "$source" .cpp)
  inputs=(tests/fuzz/corpus/"$target"/*)
  echo "-- $target: ${#inputs[@]} inputs"
  "build-fuzz/tests/fuzz/$target" "${inputs[@]}" >"build-fuzz/replay-$target.log" 2>&1 ||
    { tail -n 40 "build-fuzz/replay-$target.log"; exit 1; }
done

# One closing line over both test runs, the shuffled pass and the corpus replays.
count() { sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$1" | tail -n 1; }
read -r plain_total plain_failed <<<"$(count build-test/ctest.log)"
read -r asan_total asan_failed <<<"$(count build-asan/ctest.log)"
replays=$(ls tests/fuzz/corpus/*/* | wc -l)
failed=$((plain_failed + asan_failed))
skipped=$(cat build-test/ctest.log build-asan/ctest.log | grep -c '(Skipped)$' || true)
passed=$((plain_total + asan_total + replays - failed - skipped + shuffled_passed))
skipped=$((skipped + shuffled_skipped))
echo "tests: $passed passed, $failed failed, $skipped skipped"

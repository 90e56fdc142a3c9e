#!/usr/bin/env bash
# Builds the command line and every test except the window's with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang, build-sanitize/) and runs them with ctest; builds the
# command line's tests with ThreadSanitizer (build-tsan/) and runs the batch tests, which run
# documents on several threads; then runs each fuzz target through scripts/fuzz.sh for
# FUZZ_SECONDS seconds (default 60). Any sanitizer report ends the test or fuzz run that hit it,
# and the script fails.
#
#   bash scripts/sanitize.sh [FUZZ_SECONDS]
set -euo pipefail

cd "$(dirname "$0")/.."
fuzz_seconds="${1:-60}"
build_dir="${SUMVELO_SANITIZE_BUILD_DIR:-build-sanitize}"
tsan_dir="${SUMVELO_TSAN_BUILD_DIR:-build-tsan}"

# The window is left out: Qt itself is not built with the sanitizers, and its own start-up
# allocations would drown the reports that matter.
CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSUMVELO_SANITIZE=ON -DSUMVELO_BUILD_GUI=OFF -DSUMVELO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j "$(nproc)"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"

CXX=clang++ cmake -S . -B "$tsan_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSUMVELO_BUILD_GUI=OFF -DSUMVELO_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=thread -g" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build "$tsan_dir" -j "$(nproc)" --target cli_tests sumvelo
TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1}" \
  ctest --test-dir "$tsan_dir" --output-on-failure -R '^(RunBatch|BatchCliTest)\.'

bash scripts/fuzz.sh "$fuzz_seconds"

#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each one for SECONDS seconds (default 60), starting from the seeds in
# fuzz/corpus/<target>/. New inputs the fuzzer keeps go to a scratch folder, never into the
# repository; a crash, a sanitizer report, a failed check or a hang leaves its input in
# build-fuzz/artifacts/ and makes the script fail.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]     (targets: engine_fuzz jsonl_fuzz)
set -euo pipefail

cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
build_dir="${SUMVELO_FUZZ_BUILD_DIR:-build-fuzz}"
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  targets=(engine_fuzz jsonl_fuzz)
fi

CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSUMVELO_FUZZ=ON -DSUMVELO_BUILD_GUI=OFF -DSUMVELO_BUILD_TESTS=OFF -DSUMVELO_BUILD_BENCH=OFF \
  >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target "${targets[@]}"

artifacts="$build_dir/artifacts"
mkdir -p "$artifacts"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

status=0
for target in "${targets[@]}"; do
  seeds="fuzz/corpus/${target%_fuzz}"
  mkdir -p "$scratch/$target"
  echo "fuzz: $target for ${seconds}s from $seeds"
  # -timeout: one input taking longer than 20 s counts as a hang. -max_len: longer than the
  # default 4096 so that inputs with several paragraphs and long lines get tried.
  if ! "$build_dir/fuzz/$target" -max_total_time="$seconds" -timeout=20 -max_len=16384 \
      -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
      "$scratch/$target" "$seeds" >"$scratch/$target.log" 2>&1; then
    echo "fuzz: $target FAILED; the last lines of its log:" >&2
    tail -n 60 "$scratch/$target.log" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$scratch/$target.log" |
      sed "s/^/fuzz: $target /"
  fi
done
exit "$status"

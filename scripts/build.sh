#!/usr/bin/env bash
# Configures and builds Sumvelo (Release) in build/, or in the folder given as the first argument.
set -euo pipefail

cd "$(dirname "$0")/.."
build_dir="${1:-build}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build_dir" -j "$(nproc)"

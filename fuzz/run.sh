#!/usr/bin/env bash
# Fuzzes the receivables computation: fuzz/run.sh [INPUTS [SECONDS]]
# (default one million inputs, no time limit). Builds the native tree if
# needed, keeps the corpus in build/fuzz-corpus and writes any crashing input
# to build/fuzz-crashes; libFuzzer's final statistics say how many ran.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
inputs="${1:-1000000}"
seconds="${2:-0}"
if [ ! -f build/native/build.ninja ]; then
    cmake -S . -B build/native -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fi
ninja -C build/native receivablesFuzz >/dev/null
mkdir -p build/fuzz-corpus build/fuzz-crashes
exec build/native/receivablesFuzz -runs="$inputs" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix=build/fuzz-crashes/ build/fuzz-corpus

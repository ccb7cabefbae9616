#!/usr/bin/env bash
# Fuzzes the receivables computation, or the simulator's ledger reader:
#   fuzz/run.sh [INPUTS [SECONDS [receivables|ledger]]]
# (default one million inputs, no time limit, the computation). Builds the
# native tree if needed, keeps each target's corpus in build/fuzz-corpus[-ledger]
# and writes any crashing input to build/fuzz-crashes; libFuzzer's final
# statistics say how many ran.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
inputs="${1:-1000000}"
seconds="${2:-0}"
target="${3:-receivables}"
if [ ! -f build/native/build.ninja ]; then
    cmake -S . -B build/native -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
fi
mkdir -p build/fuzz-crashes
case "$target" in
    receivables)
        ninja -C build/native receivablesFuzz >/dev/null
        mkdir -p build/fuzz-corpus
        exec build/native/receivablesFuzz -runs="$inputs" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix=build/fuzz-crashes/ build/fuzz-corpus ;;
    ledger)
        ninja -C build/native ledgerFuzz >/dev/null
        mkdir -p build/fuzz-corpus-ledger
        exec build/native/ledgerFuzz -runs="$inputs" -max_total_time="$seconds" -print_final_stats=1 \
            -dict=fuzz/ledger.dict -seed_inputs=fuzz/ledgerSeed.json -artifact_prefix=build/fuzz-crashes/ \
            build/fuzz-corpus-ledger ;;
    *) echo "fuzz/run.sh: the target is receivables or ledger, not $target" >&2; exit 2 ;;
esac

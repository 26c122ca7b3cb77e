#!/usr/bin/env bash
# Fuzzes the "scores" reader for about half a minute with clang's libFuzzer,
# AddressSanitizer and UBSan: a crash, a sanitizer report or a table that does
# not survive a save and a load fails the check. Inputs that fail are kept in
# build-fuzz/ as crash-* files.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DOG_FUZZ=ON -DOG_BENCH=OFF -DOG_WERROR=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target fuzz_scores

# The fuzzer adds what it finds to its corpus: work on a copy.
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
cp tests/fuzz/corpus/* "$corpus/"
build-fuzz/tests/fuzz/fuzz_scores -max_total_time=30 -max_len=1024 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/ "$corpus"

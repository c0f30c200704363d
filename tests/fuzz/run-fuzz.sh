#!/usr/bin/env bash
# Builds the .pnl reader fuzzer with clang into <repo>/build-fuzz and runs it for SECONDS.
# Exits non-zero on any crash or sanitizer finding; artifacts go to build-fuzz/artifacts.
set -euo pipefail

seconds=${1:?usage: run-fuzz.sh SECONDS}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/build-fuzz

cmake -S "$here" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out"

mkdir -p "$out/corpus" "$out/artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# New inputs go to build-fuzz/corpus; the committed seeds are only read.
exec "$out/fuzz_pnl_reader" -max_total_time="$seconds" -timeout=10 -max_len=12000 \
    -print_final_stats=1 -artifact_prefix="$out/artifacts/" "$out/corpus" "$here/corpus"

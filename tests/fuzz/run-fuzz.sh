#!/usr/bin/env bash
# Builds the fuzzers with clang into <repo>/build-fuzz and runs each for SECONDS: the .pnl reader and
# the panel's read-reply parser. Exits non-zero on any crash, sanitizer finding or broken property;
# artifacts go to build-fuzz/artifacts.
set -euo pipefail

seconds=${1:?usage: run-fuzz.sh SECONDS}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$root/build-fuzz

cmake -S "$here" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$out" >/dev/null

mkdir -p "$out/artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
# New inputs go to build-fuzz/corpus-<target>; the committed seeds are only read.
for target in "fuzz_pnl_reader corpus 12000" "fuzz_reply_parser corpus-reply 64"; do
  read -r name seeds maxlen <<<"$target"
  mkdir -p "$out/corpus-$name"
  echo "== $name, $seconds s"
  "$out/$name" -max_total_time="$seconds" -timeout=10 -max_len="$maxlen" -print_final_stats=1 \
      -artifact_prefix="$out/artifacts/$name-" "$out/corpus-$name" "$here/$seeds" 2>"$out/$name.log" || status=1
  grep -E "DONE|stat::number_of_executed_units|==ERROR|SUMMARY|differs|changed|must" "$out/$name.log" || true
  [ "$status" -eq 0 ] || tail -30 "$out/$name.log"
done
exit "$status"

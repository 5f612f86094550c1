#!/usr/bin/env bash
# Builds the file-reader fuzz targets with clang (address + undefined sanitizers) and
# runs each for a bounded time: scripts/fuzz.sh [seconds per target, default 60].
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=build-fuzz
mkdir -p "$out"
flags=(-std=c++20 -g -O1 -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
clang++ "${flags[@]}" fuzz/stage_file_fuzz.cpp common/stage_file.cpp common/atomic_file.cpp \
  -o "$out/stage_file_fuzz"
clang++ "${flags[@]}" fuzz/clear_record_fuzz.cpp game/base/clear_record.cpp \
  -o "$out/clear_record_fuzz"
for target in stage_file clear_record; do
  work="$out/corpus-$target"
  mkdir -p "$work"
  cp -n fuzz/corpus/$target/* "$work/" 2>/dev/null || true
  echo "== $target: fuzzing for $seconds s"
  "$out/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 "$work" 2>"$out/$target.log" ||
    { tail -n 40 "$out/$target.log"; echo "fuzz target $target failed"; exit 1; }
  grep -E 'stat::number_of_executed_units|stat::new_units_added' "$out/$target.log" || true
  echo "== $target: no crashes"
done

#!/usr/bin/env bash
# Builds the fuzz targets for the readers of user-replaceable files with clang (address +
# undefined sanitizers) and runs each for a bounded time or number of inputs:
#   scripts/fuzz.sh [seconds per target, default 45 | --runs=N] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
limit=-max_total_time=${1:-45}
case "${1:-}" in --runs=*) limit=-runs=${1#--runs=} ;; esac
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(stage_file clear_record media_command midi_length bmp)
out=build-fuzz
mkdir -p "$out"
flags=(-std=c++20 -g -O1 -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
sources() {
  case "$1" in
    stage_file) echo common/stage_file.cpp common/atomic_file.cpp ;;
    clear_record) echo game/base/clear_record.cpp ;;
    media_command) echo platform/media_command.cpp ;;
    midi_length) echo platform/midi_length.cpp tests/support/midi_reader.cpp ;;
    bmp) echo platform/bmp.cpp platform/raster.cpp ;;
    *) echo "unknown fuzz target $1" >&2; return 1 ;;
  esac
}
for target in "${targets[@]}"; do
  src=$(sources "$target")
  read -r -a extra <<<"$src"
  clang++ "${flags[@]}" "fuzz/${target}_fuzz.cpp" "${extra[@]}" -o "$out/${target}_fuzz"
done
for target in "${targets[@]}"; do
  work="$out/corpus-$target"
  mkdir -p "$work"
  cp -n "fuzz/corpus/$target"/* "$work/" 2>/dev/null || true
  echo "== $target: fuzzing ($limit)"
  "$out/${target}_fuzz" "$limit" -print_final_stats=1 -artifact_prefix="$out/$target-" "$work" \
    2>"$out/$target.log" ||
    { tail -n 40 "$out/$target.log"; echo "fuzz target $target failed"; exit 1; }
  grep -E 'stat::number_of_executed_units|stat::new_units_added' "$out/$target.log" || true
  echo "== $target: no crashes"
done

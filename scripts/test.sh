#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   an address + undefined-behaviour build, in build-asan/
# The normal run also builds the browser build and runs its tests in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

dir=build
opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  opts=(-DCMAKE_BUILD_TYPE=Debug -DBRACKLE_SANITIZE=ON -DBRACKLE_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cmake -S . -B "$dir" "${opts[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
(cd "$dir" && ctest --output-on-failure -j2)
if [ "$dir" = build ]; then
  scripts/web.sh --test
fi

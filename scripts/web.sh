#!/usr/bin/env bash
# The browser build: installs what is missing, builds the static site build-web/site/ (an
# index.html and its files, for any static web server) and serves it on 127.0.0.1.
#   scripts/web.sh            build, then serve (PORT=8019 by default) until Ctrl+C
#   scripts/web.sh --build    only build
#   scripts/web.sh --test     build, and run the browser tests in headless Chromium
#   scripts/web.sh --figures  build, and measure the page's size, start-up and frame time
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-serve}
case $mode in
  serve | --build | --test | --figures) ;;
  *) echo "usage: $0 [--build | --test | --figures]" >&2; exit 2 ;;
esac
scripts/install-deps.sh --web

# The masks of the drawn strings and the pictures are made by the desktop's own font and
# decoder, so the native bake tool comes first.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
native=(brackle-web-bake)
web=(site)
if [ "$mode" = --test ] || [ "$mode" = --figures ]; then
  native+=(web_replay)
  web+=(site_short_tune)
fi
cmake --build build -j"$(nproc)" --target "${native[@]}"

# emscripten's tools run on node and need its packaged modules; its own cmake wrapper would
# set an emulator flag that node rejects, so the toolchain file is given directly.
export NODE_PATH=/usr/share/nodejs
cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
  -DBRACKLE_WEB_BAKE="$PWD/build/tools/brackle-web-bake" >/dev/null
cmake --build build-web -j"$(nproc)" --target "${web[@]}"

case $mode in
  --build)
    echo "built build-web/site/"
    ;;
  --test | --figures)
    # The tests' node packages, from the lock file, into the build folder.
    mkdir -p build-web/node
    cp tests/web/package.json tests/web/package-lock.json tests/web/.npmrc build-web/node/
    if ! cmp -s tests/web/package-lock.json build-web/node/installed.lock; then
      (cd build-web/node && npm ci --no-audit --no-fund >/dev/null)
      cp tests/web/package-lock.json build-web/node/installed.lock
    fi
    export NODE_PATH="$PWD/build-web/node/node_modules"
    export BRACKLE_REPLAY="$PWD/build/tests/web_replay" BRACKLE_SITE="$PWD/build-web/site"
    export BRACKLE_SHORT_TUNE_SITE="$PWD/build-web/site-short-tune"
    export BRACKLE_SHOTS="$PWD/build-web/screenshots"
    if [ "$mode" = --test ]; then
      node --test tests/web/browser.test.js
    else
      node tests/web/figures.js
    fi
    ;;
  serve)
    exec node scripts/web-serve.js build-web/site "${PORT:-8019}"
    ;;
esac

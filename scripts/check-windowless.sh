#!/usr/bin/env bash
# Builds the game's libraries, the scripted host and the windowless tests as on a machine
# without the desktop's development files, and runs those tests: in a mount namespace of
# its own, the SDL, FLTK, fontconfig and FreeType headers and every pkg-config file are
# hidden, nothing is uninstalled.
#   scripts/check-windowless.sh [BUILD_DIR]   as root (default /tmp/brackle-windowless)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/brackle-windowless}
[ "$(id -u)" = 0 ] || { echo "check-windowless.sh: run as root (it mounts in a namespace)"; exit 2; }
export src out
exec unshare --mount --propagation private bash -euo pipefail -c '
  for d in /usr/include/SDL2 /usr/include/FL /usr/include/fontconfig /usr/include/freetype2 \
           /usr/lib/x86_64-linux-gnu/pkgconfig /usr/share/pkgconfig \
           /usr/lib/x86_64-linux-gnu/cmake/SDL2*; do
    [ -d "$d" ] && mount -t tmpfs none "$d"
  done
  if find /usr/include/SDL2 /usr/include/FL /usr/include/fontconfig /usr/include/freetype2 \
    -mindepth 1 2>/dev/null | grep -q .; then
    echo "the desktop headers still show"
    exit 1
  fi
  if pkg-config --exists sdl2 2>/dev/null || pkg-config --exists fontconfig 2>/dev/null; then
    echo "pkg-config still finds the desktop libraries"
    exit 1
  fi
  cmake -S "$src" -B "$out" -DBRACKLE_DESKTOP=OFF
  cmake --build "$out" -j2
  cd "$out" && ctest -j2 --output-on-failure
'

#!/usr/bin/env bash
# Installs every Debian package the build, the two programs and the tests need,
# skipping what is already present. Runs as root or through sudo.
#   scripts/install-deps.sh --web   also the browser build's and its tests'
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config clang
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
  libfontconfig-dev libfltk1.3-dev libx11-dev
  googletest libgtest-dev libbenchmark-dev
  # run time: MIDI bank, Japanese face; the X core fonts SDL's message box draws with, and
  # xmessage (in x11-utils) for the report where the box still cannot show
  timgm6mb-soundfont fluidsynth fonts-ipafont-gothic fonts-dejavu-core fontconfig
  xfonts-base x11-utils
  # tests: real windows (a window manager for full screen), clicks, screenshots, sound
  xvfb xauth xdotool imagemagick sox procps desktop-file-utils openbox
)
if [ "${1:-}" = "--web" ]; then
  # the browser build (its compiler, the tune's renderer and encoder, node for both) and its
  # tests (a headless browser; the node packages come from tests/web/package-lock.json)
  packages+=(emscripten fluidsynth timgm6mb-soundfont lame nodejs python3 chromium)
  # npm is in nodejs itself where that comes from elsewhere than Debian
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

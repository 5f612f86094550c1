#!/usr/bin/env bash
# `cmake --install` into a fresh prefix, then the game's launcher starts the game from
# there: its window opens, and closing it saves clear.sav in the installed folder.
#   install_launcher_test.sh BIN_DIR BUILD_DIR RUNTIME_FILE...
set -euo pipefail
build=$2
shift 2
prefix=$(mktemp -d "/tmp/brackle prefix XXXXXX")
source "$(dirname "$0")/../../support/xsession.sh"
cleanup() {
  stop_xsession "${game:-}"
  rm -rf "$prefix"
}
trap cleanup EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

app="$prefix/share/brackle"
for f in brackle quorlin "$@"; do
  [ -e "$app/$f" ] || { echo "missing $app/$f"; exit 1; }
done
for f in brackle quorlin; do
  [ -s "$prefix/share/icons/hicolor/64x64/apps/$f.png" ] || { echo "missing icon $f"; exit 1; }
  desktop="$prefix/share/applications/$f.desktop"
  [ -f "$desktop" ] || { echo "missing $desktop"; exit 1; }
  grep -q '^Type=Application$' "$desktop"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/brackle.desktop"
fi

# The Exec line, as a launcher runs it: the quoted program path.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/brackle.desktop")
eval "set -- $exec_line"
program=$1
[ "$program" = "$app/brackle" ] || { echo "Exec names $program"; exit 1; }

start_xvfb 1024x768

(cd / && SDL_AUDIODRIVER=dummy exec "$program") &
game=$!
win=$(wait_window Skelmora) || { echo "the launcher did not open the game"; exit 1; }
# Closed once it shows its title, past start-up.
wait_until shows_picture "$win" || { echo "the game showed no title"; exit 1; }
kill -TERM "$game"
wait_until ended "$game" || { echo "the game did not end on SIGTERM"; exit 1; }
wait "$game" || true
game=""
[ -f "$app/clear.sav" ] || { echo "no clear.sav in the installed folder"; exit 1; }
echo "installed to $prefix; launcher started the game; clear.sav saved beside it"

#!/usr/bin/env bash
# The real game with a cut-off title.jpg: a message box and a standard-error line name
# the file, and the program ends with status 1 without a crash.
set -euo pipefail
bin=$1
work=$(mktemp -d "/tmp/brackle bad media XXXXXX")
source "$(dirname "$0")/../support/xsession.sh"
cleanup() {
  stop_xsession
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$bin"/. "$work/"
rm -f "$work/clear.sav"
head -c 20000 "$bin/title.jpg" >"$work/title.jpg"

start_xvfb 1024x768

SDL_AUDIODRIVER=dummy "$work/brackle" 2>"$work/stderr.txt" &
game=$!
# Answer the message box with Return once it shows.
for _ in $(seq 50); do
  sleep 0.2
  box=$(xdotool search --name '^Skelmora$' 2>/dev/null | tail -1 || true)
  if [ -n "$box" ]; then xdotool key --window "$box" Return 2>/dev/null || true; fi
  kill -0 "$game" 2>/dev/null || break
done
status=0
wait "$game" || status=$?
cat "$work/stderr.txt"
[ "$status" = "1" ] || { echo "exit status $status, expected 1"; exit 1; }
grep -q "title.jpg" "$work/stderr.txt" || { echo "the report does not name title.jpg"; exit 1; }
[ ! -e "$work/clear.sav" ] || { echo "clear.sav was written"; exit 1; }
echo "cut-off title.jpg reported, exit status 1"

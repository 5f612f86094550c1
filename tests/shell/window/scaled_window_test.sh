#!/usr/bin/env bash
# The game window grown to a 1920 x 1080 screen: the play surface at scale 3, centred,
# black around it, and a click on the scaled retry button restarts the stage.
# Usage: scaled_window_test.sh BIN_DIR XWIN OUT_DIR
set -euo pipefail
bin=$1
out=$3
mkdir -p "$out"
work=$(mktemp -d "/tmp/brackle scaled XXXXXX")
source "$(dirname "$0")/../../support/xsession.sh"
cleanup() {
  stop_xsession "${game:-}"
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "$1"
  exit 1
}
cp -r "$bin"/. "$work/"
rm -f "$work/clear.sav"

start_xvfb 1920x1080

SDL_AUDIODRIVER=dummy "$work/brackle" 2>"$out/stderr.txt" &
game=$!
win=$(wait_window Skelmora) || fail "no game window"
xdotool windowmove "$win" 0 0 windowsize "$win" 1920 1080

# Scale 3 puts the 1500 x 1050 surface at (210, 15).
shot() { import -window root "$1"; }
pixel() {  # picture x y -> "r,g,b"
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
# The mean grey of the surface, from 0 (black) to 1.
mean_grey() {
  convert "$1" -crop 1500x1050+210+15 -sample 25% -colorspace gray -format "%[fx:mean]" info:
}
# The window fills the screen, black around the surface, and the surface shows a picture at
# scale 3 (its lower right lies beyond where it would lie unscaled).
scaled() {
  xwininfo -id "$win" | grep -q 'Width: 1920' || return 1
  shot "$work/now.ppm"
  [ "$(pixel "$work/now.ppm" 100 500)" = "0,0,0" ] &&
    [ "$(pixel "$work/now.ppm" 1800 500)" = "0,0,0" ] &&
    [ "$(convert "$work/now.ppm" -crop 700x400+1000+600 -format %k info:)" -gt 100 ]
}
# white_in PICTURE GEOMETRY: 1 when every channel reaches full strength in that part.
white_in() {
  convert "$1" -crop "$2" -format "%[fx:maxima.r*maxima.g*maxima.b]" info:
}
# The play screen: white in both buttons, at their scaled places.
playing() {
  scaled &&
    [ "$(white_in "$work/now.ppm" 192x96+210+15)" = 1 ] &&
    [ "$(white_in "$work/now.ppm" 192x96+1518+15)" = 1 ]
}
differs_from() {
  shot "$work/now.ppm"
  ! cmp -s "$work/now.ppm" "$1"
}
# press_at X Y COMMAND...: holds the left button at surface (x, y) until the command succeeds.
press_at() {
  press_until $((210 + $1 * 3)) $((15 + $2 * 3)) root "${@:3}"
}

wait_until scaled || fail "the title did not fill the screen at scale 3"
cp "$work/now.ppm" "$work/title.ppm"
press_at 250 200 differs_from "$work/title.ppm" || fail "the title did not take the click"
press_at 40 120 playing || fail "stage 1 did not start from the list"
convert "$work/now.ppm" "$out/playing.png"
# Black around the surface, the give-up button's white oval inside it.
[ "$(pixel "$out/playing.png" 100 500)" = "0,0,0" ] || fail "no black border"
[ "$(pixel "$out/playing.png" 1800 500)" = "0,0,0" ] || fail "no black border"
button=$(convert "$out/playing.png" -crop 192x96+210+15 -format "%[fx:maxima.r]" info:)
[ "$button" = "1" ] || fail "no give-up button at scale 3"

# The stage fades in again from a black mask: the surface gets much darker than while
# playing. The retry button is held until it does.
normal=$(mean_grey "$out/playing.png")
darker() {
  shot "$work/retry.ppm"
  awk -v d="$(mean_grey "$work/retry.ppm")" -v n="$normal" 'BEGIN { exit !(d < n * 0.6) }'
}
press_at 470 12 darker || fail "retry did not restart"
echo "mean grey playing $normal, just after retry $(mean_grey "$work/retry.ppm")"
convert "$work/retry.ppm" "$out/retry.png"

kill -TERM "$game"
wait_until ended "$game" || fail "the game did not end on SIGTERM"
wait "$game" || true
game=""
lines=$(tr -d '\r' <"$work/clear.sav" | wc -l)
[ "$lines" = "31" ] || fail "clear.sav has $lines lines"
echo "scaled window: border, button, retry and save all as expected"

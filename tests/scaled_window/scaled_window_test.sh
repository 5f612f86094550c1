#!/usr/bin/env bash
# The game window grown to a 1920 x 1080 screen: the play surface at scale 3, centred,
# black around it, and a click on the scaled retry button restarts the stage.
set -euo pipefail
bin=$1
out=$2
mkdir -p "$out"
work=$(mktemp -d "/tmp/brackle scaled XXXXXX")
source "$(dirname "$0")/../support/xsession.sh"
cleanup() {
  stop_xsession "${game:-}"
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$bin"/. "$work/"
rm -f "$work/clear.sav"

start_xvfb 1920x1080

SDL_AUDIODRIVER=dummy "$work/brackle" 2>"$out/stderr.txt" &
game=$!
win=$(wait_window Skelmora) || { echo "no game window"; exit 1; }
xdotool windowmove "$win" 0 0 windowsize "$win" 1920 1080
sleep 0.5

# Scale 3 puts the 1500 x 1050 surface at (210, 15).
click() {  # surface x, surface y
  hold_click $((210 + $1 * 3)) $((15 + $2 * 3))
}
pixel() {  # screen x y -> "r,g,b"
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

click 250 200                      # leave the title
sleep 4
click 40 120                       # stage 1 in the list
sleep 5                            # 23 frames out, 13 in
import -window root "$out/playing.png"
# Black around the surface, the give-up button's white oval inside it.
[ "$(pixel "$out/playing.png" 100 500)" = "0,0,0" ] || { echo "no black border"; exit 1; }
[ "$(pixel "$out/playing.png" 1800 500)" = "0,0,0" ] || { echo "no black border"; exit 1; }
button=$(convert "$out/playing.png" -crop 192x96+210+15 -format "%[fx:maxima.r]" info:)
[ "$button" = "1" ] || { echo "no give-up button at scale 3"; exit 1; }

click 470 12                       # retry, at its scaled place
# The stage fades in again from a black mask: within the next frames the surface is
# much darker than while playing.
normal=$(convert "$out/playing.png" -crop 1500x1050+210+15 -colorspace gray -format "%[fx:mean]" info:)
darkest=1
for i in 1 2 3 4; do
  import -window root "$out/retry-$i.png"
  mean=$(convert "$out/retry-$i.png" -crop 1500x1050+210+15 -colorspace gray -format "%[fx:mean]" info:)
  darkest=$(awk -v a="$darkest" -v b="$mean" 'BEGIN { print (b < a ? b : a) }')
done
echo "mean grey playing $normal, darkest just after retry $darkest"
awk -v d="$darkest" -v n="$normal" 'BEGIN { exit !(d < n * 0.6) }' || { echo "retry did not restart"; exit 1; }

kill -TERM "$game"
wait "$game" || true
game=""
lines=$(tr -d '\r' <"$work/clear.sav" | wc -l)
[ "$lines" = "31" ] || { echo "clear.sav has $lines lines"; exit 1; }
echo "scaled window: border, button, retry and save all as expected"

#!/usr/bin/env bash
# Processor share of the game idling on its title under Xvfb, and how long it takes from
# start to the first title frame on screen.
#   scripts/bench-cpu.sh [bin folder] [seconds measured]     (defaults: build/bin, 10)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(cd "${1:-build/bin}" && pwd)
seconds=${2:-10}
[ -x "$bin/brackle" ] || { echo "no brackle in $bin: build the brackle target first" >&2; exit 1; }

work=$(mktemp -d "/tmp/brackle cpu XXXXXX")
game="" xvfb=""
cleanup() {
  if [ -n "$game" ]; then kill "$game" 2>/dev/null || true; fi
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/game folder" "$work/shots"
folder="$work/game folder"
cp -r "$bin"/. "$folder/"
rm -f "$folder/clear.sav"

# A private display: Xvfb picks a free number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"

ms() { echo $(( ($(date +%s%N) - start) / 1000000 )); }

start=$(date +%s%N)
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} "$folder/brackle" 2>"$work/stderr.txt" &
game=$!

# Wait for the window, then take screenshots as fast as they come for 3 s, each named by
# its time since the start.
mapped=""
while [ "$(ms)" -lt 15000 ]; do
  if xwininfo -name Skelmora 2>/dev/null | grep IsViewable >/dev/null; then mapped=$(ms); break; fi
  sleep 0.01
done
[ -n "$mapped" ] || { echo "the game window never showed" >&2; cat "$work/stderr.txt" >&2; exit 1; }
while [ "$(ms)" -lt $((mapped + 3000)) ]; do
  t=$(ms)
  import -window root -depth 8 "$work/shots/$(printf %06d "$t").ppm" 2>/dev/null || true
done

info=$(xwininfo -name Skelmora)
x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
crop="500x350+$x+$y"

# The title is still; the first screenshot equal to a late one is the first title frame.
sleep 1
import -window root -depth 8 "$work/reference.ppm"
convert "$work/reference.ppm" -crop "$crop" +repage "$work/reference-crop.ppm"
first=""
for shot in "$work"/shots/*.ppm; do
  diff=$(convert "$shot" -crop "$crop" +repage "$work/reference-crop.ppm" -compose difference \
           -composite -format '%[fx:maxima]' info:)
  if [ "$diff" = "0" ]; then first=$(basename "$shot" .ppm); break; fi
done
# The reference must be the title picture itself (up to JPEG decoder rounding).
off=$(convert "$work/reference-crop.ppm" "$folder/title.jpg" -compose difference -composite \
        -format '%[fx:mean]' info:)

# Processor time of the whole process (every thread) over the measured seconds.
ticks() { sed 's/.*) //' "/proc/$game/stat" | awk '{print $12 + $13}'; }
threadTicks() {  # "tid name ticks" per thread
  for task in /proc/"$game"/task/*; do
    echo "${task##*/} $(tr ' ' '_' <"$task/comm") $(sed 's/.*) //' "$task/stat" | awk '{print $12 + $13}')"
  done
}
hz=$(getconf CLK_TCK)
threadTicks >"$work/threads0"
t0=$(date +%s%N); c0=$(ticks)
sleep "$seconds"
t1=$(date +%s%N); c1=$(ticks)
threadTicks >"$work/threads1"
threads=$(awk 'NR == FNR { before[$1] = $3; next }
               $3 - before[$1] > 0 { printf "%s %d  ", $2, $3 - before[$1] }' \
          "$work/threads0" "$work/threads1")

share=$(awk -v c=$((c1 - c0)) -v hz="$hz" -v ns=$((t1 - t0)) 'BEGIN { printf "%.2f", 100 * c / hz / (ns / 1e9) }')
echo "window mapped after:          ${mapped} ms"
if [ -n "$first" ]; then
  echo "first title frame after:      $((10#$first)) ms (screenshots every ~$((3000 / $(ls "$work/shots" | wc -l))) ms)"
else
  echo "first title frame after:      not within 3 s of the window showing"
fi
echo "title vs title.jpg, mean diff: $off"
echo "processor share at the title: ${share} % of one core over ${seconds} s (goal: under 3 %)"
echo "ticks per busy thread in that time (1/${hz} s): ${threads:-none}"

kill -TERM "$game"
wait "$game" || true
game=""
awk -v s="$share" 'BEGIN { exit !(s < 3) }' && echo "goal met" || echo "over the goal"

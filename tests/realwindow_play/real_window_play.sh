#!/usr/bin/env bash
# Plays a stage of the built game in a real window under a private Xvfb, from a copy of
# the runnable folder: title, stage select, every move of the stage's fewest-move solution
# aimed and clicked with xdotool, the banner, back to the list; checks the aim arrow, a
# move in flight, the banner and the cleared mark on screen, and clear.sav after closing.
# Usage: real_window_play.sh BIN_DIR SHEET_BMP WM_CLOSE OUT_DIR  (screenshots in OUT_DIR)
set -euo pipefail

bin_dir=$1
sheet=$2
wm_close=$3
out_dir=$4
mkdir -p "$out_dir"
work=$(mktemp -d /tmp/brackle-play-XXXXXX)
source "$(dirname "$0")/../support/xsession.sh"
game_pid=

cleanup() {
  stop_xsession "$game_pid"
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/stderr" ] && sed 's/^/brackle: /' "$work/stderr" >&2
  exit 1
}

# Stage 12 (second label of the second column) becomes the play tests' hand-made stage:
#   o o E o        eraser, jumper, walker, slider; codes . 0, o 1, # 2, W 3, S 4, E 5,
#   o . o #        J 6, - 7 (empty space everywhere else)
#   J W . .
#   # S . .
stage_no=12
stage=1151777777101277777763007777772400777777$(printf "7%.0s" $(seq 60))
moves="2,0 up-left; 0,2 down-right; 1,2 up-right; 1,3 down-right; 1,0 up-left; 2,2 up-right; 1,1 up-right; 3,3 up-right"
slide_move=4  # 1,3 down-right: the slider goes two cells

cp -r "$bin_dir"/. "$work/"
rm -f "$work/clear.sav"
{
  sed -n "1,$((stage_no - 1))p" "$bin_dir/stage.stg"
  printf '%s\r\n' "$stage"
  sed -n "$((stage_no + 1)),30p" "$bin_dir/stage.stg"
} >"$work/stage.stg"
[ "$(wc -c <"$work/stage.stg")" -eq 3060 ] || fail "stage file not 30 lines of 100 digits"

# --- Pixels to look for, taken from the sprite sheet itself --------------------------------

# A pixel of the w x h picture at (x, y) that its mask at (mx, my) makes opaque and that is
# neither black nor grey: prints "i j RRGGBB".
opaque_pixel() {
  local x=$1 y=$2 w=$3 h=$4 mx=$5 my=$6
  paste -d' ' \
    <(convert "$sheet" -crop "${w}x${h}+$x+$y" +repage -depth 8 txt:- | tail -n +2) \
    <(convert "$sheet" -crop "${w}x${h}+$mx+$my" +repage -depth 8 txt:- | tail -n +2) |
    awk '{ split($1, at, /[,:]/); img = $3; mask = $7; sub(/#/, "", img)
           r = substr(img, 1, 2); g = substr(img, 3, 2); b = substr(img, 5, 2)
           if (mask == "#000000" && !(r == g && g == b)) { print at[1], at[2], img; exit } }'
}

# A pixel white in all of the given pictures of the sheet ("x y w h" each): prints "i j".
white_in_all() {
  local n=$#
  while [ $# -gt 0 ]; do
    read -r x y w h <<<"$1"
    shift
    convert "$sheet" -crop "${w}x${h}+$x+$y" +repage -depth 8 txt:- | tail -n +2 |
      awk '$3 == "#FFFFFF" { split($1, at, /[,:]/); print at[1], at[2] }'
  done | sort | uniq -c | awk -v n="$n" '$1 == n { print $2, $3; exit }'
}

read -r arrow_i arrow_j arrow_rgb < <(opaque_pixel 64 32 32 16 128 32)  # arrow toward x - 1
read -r pose_i pose_j pose_rgb < <(opaque_pixel 160 128 64 32 160 160)  # slider toward x + 1
read -r clear_i clear_j < <(white_in_all "224 128 96 32" "224 160 96 32" "224 192 96 32")
read -r stage_i stage_j < <(white_in_all "64 256 128 32" "64 288 128 32" "64 320 128 32")
read -r giveup_i giveup_j < <(white_in_all "0 320 64 32")
# The preview's miniature of painted floor (code 1), copied as it is.
painted_mini=$(convert "$sheet" -format '%[hex:p{232,248}]' info:)
[ -n "$arrow_rgb" ] && [ -n "$pose_rgb" ] && [ -n "$clear_i" ] && [ -n "$stage_i" ] &&
  [ -n "$giveup_i" ] && [ -n "$painted_mini" ] ||
  fail "the sprite sheet lacks the pictures this check looks for"

# --- The window ------------------------------------------------------------------------------

start_xvfb 800x600 || fail "no X server"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

"$work/brackle" 2>"$work/stderr" &
game_pid=$!
win=$(wait_window Skelmora) || fail "no window named Skelmora"
xwininfo -id "$win" | grep -q 'Width: 501' || fail "client width is not 501"
xwininfo -id "$win" | grep -q 'Height: 351' || fail "client height is not 351"

shot() { import -window "$win" "$1"; }
hex_at() { convert "$1" -depth 8 -format "%[hex:p{$2,$3}]" info:; }
# A click held across frames, after a pause in which an arrow frame passes (the arrow
# shows on two frames out of four).
click_at() { hold_click "$1" "$2" "$win"; }
# Screenshots until pixel (x, y) shows the colour; false after the given seconds.
wait_for_pixel() {
  local end=$((SECONDS + $4))
  while [ "$SECONDS" -lt "$end" ]; do
    shot "$work/wait.ppm"
    [ "$(hex_at "$work/wait.ppm" "$1" "$2")" = "$3" ] && return 0
    sleep 0.1
  done
  return 1
}

sleep 0.5
shot "$out_dir/play_title.png"
click_at 250 175

# The label of stage 12: column 1, row 1, at (20 + 175, 110 + 23). Over it, the preview
# appears once the list has faded in; its cell (0, 0) is painted floor.
label_x=$((20 + 175 + 40))
label_y=$((110 + 23 + 10))
xdotool mousemove --window "$win" "$label_x" "$label_y"
wait_for_pixel 380 20 "$painted_mini" 20 || fail "the stage select did not come up"
shot "$out_dir/play_stage_select.png"
click_at "$label_x" "$label_y"
# The buttons are drawn from the frame that ends the stage's fade-in.
wait_for_pixel "$giveup_i" "$giveup_j" FFFFFF 20 || fail "the stage did not come up"

# --- The moves -------------------------------------------------------------------------------

# The pointer goes into the quadrant of the active cell's centre (X + 32, Y + 16) that aims
# the move; with the starting view, X = 32 (x - y) + 220 and Y = 16 (x + y) + 30.
n=0
IFS=';' read -ra move_list <<<"$moves"
for move in "${move_list[@]}"; do
  n=$((n + 1))
  read -r cell dir <<<"$move"
  x=${cell%,*}
  y=${cell#*,}
  cx=$((32 * (x - y) + 252))
  cy=$((16 * (x + y) + 46))
  case $dir in
    up-left) px=$((cx - 20)) py=$((cy - 10)) ;;
    up-right) px=$((cx + 20)) py=$((cy - 10)) ;;
    down-left) px=$((cx - 20)) py=$((cy + 10)) ;;
    down-right) px=$((cx + 20)) py=$((cy + 10)) ;;
  esac
  xdotool mousemove --window "$win" "$px" "$py"
  if [ "$n" -eq 1 ]; then
    # The arrow toward x - 1 stands at (X - 16, Y - 8) on the frames that show it.
    ax=$((cx - 32 - 16 + arrow_i))
    ay=$((cy - 16 - 8 + arrow_j))
    seen=
    for _ in $(seq 12); do
      shot "$work/aim.ppm"
      if [ "$(hex_at "$work/aim.ppm" "$ax" "$ay")" = "$arrow_rgb" ]; then
        seen=1
        convert "$work/aim.ppm" "$out_dir/play_aim_arrow.png"
        break
      fi
      sleep 0.05
    done
    [ -n "$seen" ] || fail "no aim arrow at ($ax, $ay) for the first move"
  fi
  sleep 0.3
  xdotool mousedown 1
  if [ "$n" -eq "$slide_move" ]; then
    # The sliding pose (64 x 32 at (X, Y - 32)) at one of the six positions of t: a burst
    # of quick (uncompressed) screenshots over the move's 300 ms, looked at afterwards.
    for k in $(seq 16); do
      shot "$work/flight$k.ppm"
      sleep 0.02
    done
    seen=
    for t in 0 0.4 0.8 1.2 1.6 2; do
      read -r bx by < <(awk -v x="$x" -v y="$y" -v t="$t" 'function even(v,  f) {
          f = int(v); if (v < 0 && f != v) f--; if (v - f > 0.5 || (v - f == 0.5 && f % 2)) f++
          return f }
        BEGIN { X = 32 * (x + t - y) + 220; Y = 16 * (x + t + y) + 30
                print even(X), even(Y - 32) }')
      for k in $(seq 16); do
        if [ "$(hex_at "$work/flight$k.ppm" $((bx + pose_i)) $((by + pose_j)))" = "$pose_rgb" ]
        then
          seen=1
          convert "$work/flight$k.ppm" "$out_dir/play_move_in_flight.png"
          break 2
        fi
      done
    done
    [ -n "$seen" ] || fail "the slide of move $n was never caught in flight"
  else
    sleep 0.25
  fi
  xdotool mouseup 1
  sleep 0.35  # the six 50 ms frames of the move
done

# --- The banner and back to the list ---------------------------------------------------------

sleep 0.7
shot "$out_dir/play_banner.png"
[ "$(hex_at "$out_dir/play_banner.png" $((130 + stage_i)) $((110 + stage_j)))" = FFFFFF ] ||
  fail "no STAGE over the cleared field"
[ "$(hex_at "$out_dir/play_banner.png" $((278 + clear_i)) $((110 + clear_j)))" = FFFFFF ] ||
  fail "no CLEAR over the cleared field"

xdotool mousemove --window "$win" 480 345  # off the list, so no label is highlighted
# The rest of the 51 banner frames, 23 fade-out frames, 13 fade-in frames of the list.
purple=0
end=$((SECONDS + 30))
while [ "$purple" -eq 0 ] && [ "$SECONDS" -lt "$end" ]; do
  sleep 0.5
  shot "$out_dir/play_back_to_list.png"
  purple=$(convert "$out_dir/play_back_to_list.png" \
    -crop 180x23+$((20 + 175 - 2))+$((110 + 23 - 2)) +repage -depth 8 txt:- |
    grep -c '#5A148C' || true)
done
[ "$purple" -gt 0 ] || fail "stage $stage_no is not marked cleared in the list"
sleep 1.5  # the fade-in ends; the last screenshot shows the whole list
shot "$out_dir/play_back_to_list.png"

"$wm_close" "$win" || fail "could not ask the window to close"
status=0
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
wait "$game_pid" || status=$?
game_pid=
[ "$status" -eq 0 ] || fail "brackle ended with status $status"
[ -f "$work/clear.sav" ] || fail "no clear.sav after closing"
expected=$(for i in $(seq 31); do [ "$i" -eq "$stage_no" ] && printf 'True\r\n' || printf 'False\r\n'; done)
[ "$(cat "$work/clear.sav")" = "$expected" ] || fail "clear.sav: $(tr '\r\n' ' |' <"$work/clear.sav")"

echo "real window play check passed; screenshots in $out_dir"

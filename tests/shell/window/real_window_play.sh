#!/usr/bin/env bash
# Plays a stage of the built game in a real window under a private Xvfb, from a copy of
# the runnable folder: title, stage select, every move of the stage's fewest-move solution
# aimed and clicked with xdotool, the banner, back to the list; checks the aim arrow, a
# move in flight, the banner and the cleared mark on screen, and clear.sav after closing.
# Every step waits for the picture that shows the game got there.
# Usage: real_window_play.sh BIN_DIR XWIN SHEET_BMP OUT_DIR  (screenshots in OUT_DIR)
set -euo pipefail

bin_dir=$1
xwin=$2
sheet=$3
out_dir=$4
mkdir -p "$out_dir"
work=$(mktemp -d /tmp/brackle-play-XXXXXX)
source "$(dirname "$0")/../../support/xsession.sh"
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
# Each move: the piece that has the turn, its cell and the direction.
moves="E 2,0 up-left; J 0,2 down-right; W 1,2 up-right; S 1,3 down-right; E 1,0 up-left;"
moves+=" J 2,2 up-right; W 1,1 up-right; S 3,3 up-right"
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

# The aim arrows by direction (the quarter of (64, 32) pointing out of its outer corner,
# masks 64 pixels to the right) and the turn marker's three frames.
declare -A arrow
for dir in up-left up-right down-left down-right; do
  case $dir in up-left) r=0 d=0 ;; up-right) r=1 d=0 ;; down-left) r=0 d=1 ;; down-right) r=1 d=1 ;; esac
  # (awk stops at the first pixel found, which ends the pipe early)
  arrow[$dir]=$(opaque_pixel $((64 + 32 * r)) $((32 + 16 * d)) 32 16 $((128 + 32 * r)) $((32 + 16 * d)) || true)
  [ -n "${arrow[$dir]}" ] || fail "the sprite sheet has no arrow $dir"
done
marker=()
for p in 0 1 2; do
  marker+=("$(opaque_pixel $((224 + 32 * p)) 64 32 32 $((224 + 32 * p)) 96 || true)")
  [ -n "${marker[$p]}" ] || fail "the sprite sheet has no turn marker frame $p"
done
read -r pose_i pose_j pose_rgb < <(opaque_pixel 160 128 64 32 160 160)  # slider toward x + 1
read -r clear_i clear_j < <(white_in_all "224 128 96 32" "224 160 96 32" "224 192 96 32")
read -r stage_i stage_j < <(white_in_all "64 256 128 32" "64 288 128 32" "64 320 128 32")
read -r giveup_i giveup_j < <(white_in_all "0 320 64 32")
# The preview's miniature of painted floor (code 1), copied as it is.
painted_mini=$(convert "$sheet" -format '%[hex:p{232,248}]' info:)
[ -n "$pose_rgb" ] && [ -n "$clear_i" ] && [ -n "$stage_i" ] && [ -n "$giveup_i" ] &&
  [ -n "$painted_mini" ] || fail "the sprite sheet lacks the pictures this check looks for"

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
# pixel_is X Y RRGGBB: a fresh screenshot shows the colour at (x, y).
pixel_is() {
  shot "$work/now.ppm"
  [ "$(hex_at "$work/now.ppm" "$1" "$2")" = "$3" ]
}
pixel_is_not() { ! pixel_is "$@"; }
# differs_from FILE: a fresh screenshot is not that picture.
differs_from() {
  shot "$work/now.ppm"
  ! cmp -s "$work/now.ppm" "$1"
}
# sprite_shows X Y "i j RRGGBB": the sprite whose pixel that is stands at (x, y).
sprite_shows() {
  local i j rgb
  read -r i j rgb <<<"$3"
  pixel_is $(($1 + i)) $(($2 + j)) "$rgb"
}
# marker_shows X Y KIND: the turn marker over the piece of tile box (x, y) in any frame.
marker_shows() {
  local p dy=-50
  [ "$3" = S ] && dy=-80
  shot "$work/marker.ppm"
  for p in 0 1 2; do
    read -r i j rgb <<<"${marker[$p]}"
    [ "$(hex_at "$work/marker.ppm" $(($1 - 7 + i)) $(($2 + dy + j)))" = "$rgb" ] && return 0
  done
  return 1
}
marker_gone() { ! marker_shows "$@"; }

wait_until shows_picture "$win" || fail "the title never showed"
shot "$work/title.ppm"
cp "$work/title.ppm" "$out_dir/play_title.ppm"
press_until 250 175 "$win" differs_from "$work/title.ppm" || fail "the title did not take the click"

# The label of stage 12: column 1, row 1, at (20 + 175, 110 + 23). Over it, the preview
# appears once the list has faded in; its cell (0, 0) is painted floor.
label_x=$((20 + 175 + 40))
label_y=$((110 + 23 + 10))
xdotool mousemove --window "$win" "$label_x" "$label_y"
wait_until pixel_is 380 20 "$painted_mini" || fail "the stage select did not come up"
shot "$out_dir/play_stage_select.png"
# The preview goes as the list fades out.
press_until "$label_x" "$label_y" "$win" pixel_is_not 380 20 "$painted_mini" ||
  fail "the list did not take the click"
# The buttons are drawn from the frame that ends the stage's fade-in.
wait_until pixel_is "$giveup_i" "$giveup_j" FFFFFF || fail "the stage did not come up"

# --- The moves -------------------------------------------------------------------------------

# The pointer goes into the quadrant of the active cell's centre (X + 32, Y + 16) that aims
# the move; with the starting view, X = 32 (x - y) + 220 and Y = 16 (x + y) + 30. The arrow
# of that direction shows once the piece has the turn and the pointer aims it; the press is
# held until the marker leaves the piece, when the move is under way.
n=0
IFS=';' read -ra move_list <<<"$moves"
for move in "${move_list[@]}"; do
  n=$((n + 1))
  read -r kind cell dir <<<"$move"
  x=${cell%,*}
  y=${cell#*,}
  X=$((32 * (x - y) + 220))
  Y=$((16 * (x + y) + 30))
  case $dir in
    up-left) px=$((X + 12)) py=$((Y + 6)) ax=$((X - 16)) ay=$((Y - 8)) ;;
    up-right) px=$((X + 52)) py=$((Y + 6)) ax=$((X + 48)) ay=$((Y - 8)) ;;
    down-left) px=$((X + 12)) py=$((Y + 26)) ax=$((X - 16)) ay=$((Y + 24)) ;;
    down-right) px=$((X + 52)) py=$((Y + 26)) ax=$((X + 48)) ay=$((Y + 24)) ;;
  esac
  xdotool mousemove --window "$win" "$px" "$py"
  wait_until sprite_shows "$ax" "$ay" "${arrow[$dir]}" ||
    fail "no aim arrow at ($ax, $ay) for move $n"
  [ "$n" -eq 1 ] && convert "$work/now.ppm" "$out_dir/play_aim_arrow.png"
  xdotool mousedown 1
  if [ "$n" -ne "$slide_move" ]; then
    sleep 0.25  # the game only sees a press that lasts past a frame
  else
    # The sliding pose (64 x 32 at (X, Y - 32)) at one of the six positions of t: quick
    # (uncompressed) screenshots while the game goes through the move's frames, looked at
    # afterwards.
    "$xwin" frames "$win" 8 &
    frames_pid=$!
    k=0
    while ! ended "$frames_pid"; do
      k=$((k + 1))
      shot "$work/flight$k.ppm"
    done
    wait "$frames_pid" || fail "the game stopped answering during move $n"
    seen=
    for t in 0 0.4 0.8 1.2 1.6 2; do
      read -r bx by < <(awk -v x="$x" -v y="$y" -v t="$t" 'function even(v,  f) {
          f = int(v); if (v < 0 && f != v) f--; if (v - f > 0.5 || (v - f == 0.5 && f % 2)) f++
          return f }
        BEGIN { X = 32 * (x + t - y) + 220; Y = 16 * (x + t + y) + 30
                print even(X), even(Y - 32) }')
      for i in $(seq "$k"); do
        if [ "$(hex_at "$work/flight$i.ppm" $((bx + pose_i)) $((by + pose_j)))" = "$pose_rgb" ]
        then
          seen=1
          convert "$work/flight$i.ppm" "$out_dir/play_move_in_flight.png"
          break 2
        fi
      done
    done
    [ -n "$seen" ] || fail "the slide of move $n was never caught in flight ($k screenshots)"
  fi
  wait_until marker_gone "$X" "$Y" "$kind" || fail "move $n was not taken"
  xdotool mouseup 1
done

# --- The banner and back to the list ---------------------------------------------------------

banner_shows() {
  shot "$work/banner.ppm"
  [ "$(hex_at "$work/banner.ppm" $((130 + stage_i)) $((110 + stage_j)))" = FFFFFF ] &&
    [ "$(hex_at "$work/banner.ppm" $((278 + clear_i)) $((110 + clear_j)))" = FFFFFF ]
}
wait_until banner_shows || fail "no STAGE CLEAR over the cleared field"
convert "$work/banner.ppm" "$out_dir/play_banner.png"

xdotool mousemove --window "$win" 480 345  # off the list, so no label is highlighted
# The rest of the 51 banner frames, 23 fade-out frames, 13 fade-in frames of the list.
purple_shows() {
  shot "$out_dir/play_back_to_list.png"
  local purple
  purple=$(convert "$out_dir/play_back_to_list.png" \
    -crop 180x23+$((20 + 175 - 2))+$((110 + 23 - 2)) +repage -depth 8 txt:- |
    grep -c '#5A148C' || true)
  [ "$purple" -gt 0 ]
}
wait_until purple_shows || fail "stage $stage_no is not marked cleared in the list"
# Once the fade-in has ended the last screenshot shows the whole list.
"$xwin" frames "$win" 15 || fail "the game stopped answering in the list"
shot "$out_dir/play_back_to_list.png"

"$xwin" close "$win" || fail "could not ask the window to close"
wait_until ended "$game_pid" || fail "brackle still runs after the close"
status=0
wait "$game_pid" || status=$?
game_pid=
[ "$status" -eq 0 ] || fail "brackle ended with status $status"
[ -f "$work/clear.sav" ] || fail "no clear.sav after closing"
expected=$(for i in $(seq 31); do [ "$i" -eq "$stage_no" ] && printf 'True\r\n' || printf 'False\r\n'; done)
[ "$(cat "$work/clear.sav")" = "$expected" ] || fail "clear.sav: $(tr '\r\n' ' |' <"$work/clear.sav")"

echo "real window play check passed; screenshots in $out_dir"

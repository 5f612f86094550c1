#!/usr/bin/env bash
# Runs the built editor from a copy of the runnable folder under a private Xvfb, paints a
# stage with xdotool (also with two-button chords), saves (also through a symbolic link),
# and checks the file, the screen and the failure report, waiting for each to show.
# Usage: real_window.sh BIN_DIR PALETTE_BMP OUT_DIR   (screenshots are left in OUT_DIR)
set -euo pipefail

bin_dir=$1
palette_bmp=$2
out_dir=$3
mkdir -p "$out_dir"
work=$(mktemp -d /tmp/quorlin-real-XXXXXX)
source "$(dirname "$0")/../support/xsession.sh"
editor_pid=

cleanup() {
  stop_xsession "$editor_pid"
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cp "$bin_dir/quorlin" "$bin_dir/stage.stg" "$work/"
cp "$work/stage.stg" "$work/original.stg"

start_xvfb 640x480 || fail "no X server"

start_editor() {
  "$work/quorlin" 2>"$work/stderr" &
  editor_pid=$!
}

# Waits for a window whose name matches $1 and prints its id.
find_window() {
  local id
  id=$(timeout "$patience" xdotool search --sync --onlyvisible --name "$1" | head -1) || true
  [ -n "$id" ] || fail "no window named $1"
  echo "$id"
}

# Clicks window pixel (x, y) of window $1.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Waits for the editor to end and checks it ended with status 1 and the report on stderr.
expect_report() {
  local alert status=0
  alert=$(find_window '^quorlin$')
  import -window root "$out_dir/$1.png"
  xdotool windowfocus "$alert" 2>/dev/null || true
  xdotool key Return 2>/dev/null || true
  wait_until ended "$editor_pid" || fail "$1: the editor still runs after the report"
  wait "$editor_pid" || status=$?
  editor_pid=
  [ "$status" -eq 1 ] || fail "$1: exit status $status, not 1"
  grep -qF "$work/stage.stg: " "$work/stderr" || fail "$1: no report line: $(cat "$work/stderr")"
}

hex_at() { convert "$1" -format "%[hex:p{$2,$3}]" info:; }

# Writes to $3 the stage file $1 with the given cells of stage 3 (line 3, cell (x, y) at
# 10 * y + x) set to the digit $2; each must have held another digit.
paint_stage3() {
  local base=$1 code=$2 out=$3 line p
  shift 3
  line=$(sed -n 3p "$base" | tr -d '\r')
  for p in "$@"; do
    [ "${line:p:1}" != "$code" ] || fail "cell $p of stage 3 held $code already"
    line="${line:0:p}$code${line:p+1}"
  done
  { head -n 2 "$base"; printf '%s\r\n' "$line"; tail -n +4 "$base"; } >"$out"
}

# Waits until the file $1 differs from $2.
differs() { ! cmp -s "$1" "$2"; }
wait_changed() { wait_until differs "$1" "$2" || fail "$1 did not change"; }
# Whether window pixel (x, y) of window $1 shows the colour $4.
shows() {
  import -window "$1" "$work/now.png"
  [ "$(hex_at "$work/now.png" "$2" "$3")" = "$4" ]
}

start_editor
win=$(find_window Brackle)
[ "$(xprop -id "$win" _NET_WM_NAME)" = '_NET_WM_NAME(UTF8_STRING) = "Brackleエディタ"' ] ||
  fail "caption: $(xprop -id "$win" _NET_WM_NAME)"
xwininfo -id "$win" | grep -q 'Width: 210' || fail "client width"
xwininfo -id "$win" | grep -q 'Height: 296' || fail "client height"
# Drawn: the first palette picture is framed.
wait_until shows "$win" 8 48 FF0000 || fail "the palette was not drawn"

click "$win" $((8 + 2 * 16 + 8)) $((48 + 8))  # palette picture 2, the block
click "$win" $((176 + 8)) $((48 + 89 - 8))    # brush bar's lower arrow: brush 2
click "$win" $((8 + 185 - 8)) $((272 + 8))    # stage bar's right arrow, twice: stage 3
click "$win" $((8 + 185 - 8)) $((272 + 8))
click "$win" $((8 + 3 * 16 + 8)) $((72 + 4 * 16 + 8))  # cells (3..4, 4..5)
# A drag from cell (6, 1) to cell (8, 1): cells (6..9, 1..2).
xdotool mousemove --window "$win" $((8 + 6 * 16 + 8)) $((72 + 16 + 8)) mousedown 1
xdotool mousemove --window "$win" $((8 + 8 * 16 + 8)) $((72 + 16 + 8))
xdotool mouseup 1
click "$win" $((8 + 9 * 16 + 8)) $((72 + 9 * 16 + 8))  # cell (9, 9): the rest is clipped
# The timer redraws the edit area: then the last painted cell shows the block picture.
convert "$palette_bmp" -crop 16x16+32+0 +repage "$work/block.png"
shows_block() {
  import -window "$win" "$work/window.png"
  convert "$work/window.png" -crop 16x16+$((8 + 16 * $1))+$((72 + 16 * $2)) +repage "$work/cell.png"
  compare -metric AE "$work/cell.png" "$work/block.png" null: 2>/dev/null
}
wait_until shows_block 9 9 || fail "the edit area was not redrawn"

import -window root "$out_dir/quorlin_screen.png"
cp "$work/window.png" "$out_dir/quorlin_window.png"

# The frame sits on palette picture 2; the painted cells show that picture.
[ "$(hex_at "$work/window.png" 40 48)" = FF0000 ] || fail "no frame on picture 2"
[ "$(hex_at "$work/window.png" 55 63)" = FF0000 ] || fail "frame corner"
for cell in "3 4" "4 5" "9 1" "9 9"; do
  set -- $cell
  convert "$work/window.png" -crop 16x16+$((8 + 16 * $1))+$((72 + 16 * $2)) +repage "$work/cell.png"
  compare -metric AE "$work/cell.png" "$work/block.png" null: 2>/dev/null ||
    fail "cell ($1, $2) does not show the block picture"
done

click "$win" $((136 + 36)) 12  # save
wait_changed "$work/stage.stg" "$work/original.stg"

# Line 3 must differ from the original in exactly the painted cells.
paint_stage3 "$work/original.stg" 2 "$work/expected.stg" 43 44 53 54 16 17 18 19 26 27 28 29 99
cmp "$work/expected.stg" "$work/stage.stg" || fail "saved file differs from the painted stage"

# "save" recreates a removed file.
rm "$work/stage.stg"
click "$win" $((136 + 36)) 12
wait_until test -f "$work/stage.stg" || fail "save did not recreate the file"
cmp "$work/expected.stg" "$work/stage.stg" || fail "save did not recreate the file"

# A chord during a stroke: left press on a cell, drag onto the grey area or onto "load", a
# right press and release there, the left release, then a move over the edit area with no
# button held. The edit area keeps the pointer until both buttons are up: the stroke paints
# its cell and the border cell the drag reached, the load does not fire, the move paints
# nothing.
chord() {
  xdotool mousemove --window "$win" $((8 + 16 * $1 + 8)) $((72 + 16 * $2 + 8)) mousedown 1
  xdotool mousemove --window "$win" "$3" "$4"
  xdotool mousedown 3
  xdotool mouseup 3
  xdotool mouseup 1
  xdotool mousemove --window "$win" $((8 + 4 * 16 + 8)) $((72 + 4 * 16 + 8))
  xdotool mousemove --window "$win" $((8 + 5 * 16 + 8)) $((72 + 5 * 16 + 8))
}
cp "$work/stage.stg" "$work/before_chords.stg"
click "$win" $((8 + 5 * 16 + 8)) $((48 + 8))  # palette picture 5, the eraser; brush 2
chord 0 7 190 200                             # grey area: the drag reaches cell (9, 8)
chord 6 6 36 12                               # "load": the drag reaches cell (1, 0)
click "$win" $((136 + 36)) 12  # save
wait_changed "$work/stage.stg" "$work/before_chords.stg"
import -window root "$out_dir/quorlin_chords.png"
paint_stage3 "$work/expected.stg" 5 "$work/expected_chords.stg" \
  70 71 80 81 89 99 66 67 76 77 1 2 11 12
cmp "$work/expected_chords.stg" "$work/stage.stg" || fail "chords: saved file differs"

# A save through a symbolic link: the link stays and the file it leads to gets the stages.
mkdir "$work/elsewhere"
mv "$work/stage.stg" "$work/elsewhere/stages.stg"
ln -s elsewhere/stages.stg "$work/stage.stg"
cp "$work/elsewhere/stages.stg" "$work/before_link.stg"
click "$win" $((8 + 6 * 16 + 8)) $((48 + 8))            # palette picture 6, the frog
click "$win" $((8 + 3 * 16 + 8)) $((72 + 4 * 16 + 8))   # over the block of cells (3..4, 4..5)
click "$win" $((136 + 36)) 12                           # save
wait_changed "$work/elsewhere/stages.stg" "$work/before_link.stg"
import -window root "$out_dir/quorlin_link_save.png"
[ -L "$work/stage.stg" ] || fail "the save replaced the link with a file"
paint_stage3 "$work/expected_chords.stg" 6 "$work/expected_link.stg" 43 44 53 54
cmp "$work/expected_link.stg" "$work/elsewhere/stages.stg" ||
  fail "the file behind the link does not hold the saved stages"

# "load" of a removed file ends the editor with the report.
rm "$work/stage.stg"
click "$win" 36 12
expect_report quorlin_load_failure

# So does a start without the file.
start_editor
expect_report quorlin_start_failure

echo "real window check passed; screenshots in $out_dir"

#!/usr/bin/env bash
# Runs the built editor from a copy of the runnable folder under a private Xvfb, paints a
# stage with xdotool (also with two-button chords), saves (also through a symbolic link),
# and checks the file, the screen and the failure report, waiting for each to show; then, as a
# designer would, reads the status while painting, takes a stroke back, closes with unsaved
# changes and tries a stage with the keys.
# Usage: real_window.sh BIN_DIR PALETTE_BMP WINDOW_TOOL OUT_DIR   (screenshots are left in OUT_DIR)
set -euo pipefail

bin_dir=$1
palette_bmp=$2
window_tool=$3
out_dir=$4
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

# Writes to $4 the stage file $2 with the given cells of stage $1 (line $1, cell (x, y) at
# 10 * y + x) set to the digit $3; each must have held another digit.
paint_stage() {
  local stage=$1 base=$2 code=$3 out=$4 line p
  shift 4
  line=$(sed -n "${stage}p" "$base" | tr -d '\r')
  for p in "$@"; do
    [ "${line:p:1}" != "$code" ] || fail "cell $p of stage $stage held $code already"
    line="${line:0:p}$code${line:p+1}"
  done
  { head -n $((stage - 1)) "$base"; printf '%s\r\n' "$line"; tail -n +$((stage + 1)) "$base"; } >"$out"
}
paint_stage3() { paint_stage 3 "$@"; }

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
xwininfo -id "$win" | grep -q 'Height: 362' || fail "client height"  # 296 and the status
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

# ---- As a designer: the status while painting, undo, the close prompt, a try. ----
# The status sits under the controls; its first line says whether the stage can be cleared.
status_line() { convert "$1" -crop 194x14+8+299 +repage "$2"; }

# Writes to $1 the status's first line once it holds still (the proof has come back).
settled_line() {
  local shot=$work/settle.png
  import -window "$win" "$shot"
  status_line "$shot" "$1"
  for _ in $(seq 50); do
    sleep 0.3
    import -window "$win" "$shot"
    status_line "$shot" "$work/settle_line.png"
    compare -metric AE "$work/settle_line.png" "$1" null: 2>/dev/null && return 0
    cp "$work/settle_line.png" "$1"
  done
  fail "the status never settles"
}

# Waits up to 10 s until the status's first line shows the same words as the picture $1.
wait_status() {
  for _ in $(seq 100); do
    import -window "$win" "$work/now.png"
    status_line "$work/now.png" "$work/now_line.png"
    compare -metric AE "$work/now_line.png" "$1" null: 2>/dev/null && return 0
    sleep 0.1
  done
  fail "the status does not say $2"
}

# Cell (x, y) of the edit area in the window picture $1 shows palette picture $2.
cell_shows() {
  convert "$1" -crop 16x16+$((8 + 16 * $3))+$((72 + 16 * $4)) +repage "$work/cell.png"
  convert "$palette_bmp" -crop 16x16+$((16 * $2))+0 +repage "$work/picture.png"
  compare -metric AE "$work/cell.png" "$work/picture.png" null: 2>/dev/null
}

# Waits up to 10 s for the editor to end; fails unless with status 0.
wait_end() {
  local status=0
  for _ in $(seq 100); do kill -0 "$editor_pid" 2>/dev/null || break; sleep 0.1; done
  wait "$editor_pid" || status=$?
  editor_pid=
  [ "$status" -eq 0 ] || fail "$1: exit status $status"
}

# What "cannot be cleared" looks like: an editor started on stage 1 with a grass cell at
# (8, 8) that no piece can reach. Closed unchanged, it ends at once without a question.
mkdir "$work/ref"
cp "$work/quorlin" "$work/ref/"
paint_stage 1 "$work/original.stg" 0 "$work/ref/stage.stg" 88
"$work/ref/quorlin" 2>"$work/stderr" &
editor_pid=$!
win=$(find_window Brackle)
settled_line "$work/cannot.png"
"$window_tool" close "$win" || fail "could not ask the window to close"
wait_end "unchanged close"

rm -rf "$work/elsewhere" "$work/stage.stg"
cp "$work/original.stg" "$work/stage.stg"
start_editor
win=$(find_window Brackle)
xdotool mousemove --window "$win" 100 150
xdotool windowfocus "$win" 2>/dev/null || true
# Stage 2 can be cleared in 5 moves, stage 1 in 4.
click "$win" $((8 + 185 - 8)) $((272 + 8))
settled_line "$work/can5.png"
click "$win" $((8 + 8)) $((272 + 8))
settled_line "$work/can4.png"
import -window "$win" "$out_dir/quorlin_status_start.png"
compare -metric AE "$work/can4.png" "$work/can5.png" null: 2>/dev/null &&
  fail "4 and 5 moves look the same"

# F5 tries stage 1 in the edit area: the walker at (3, 3) goes right twice and down twice,
# painting its way, and the stage is cleared.
xdotool key F5
sleep 0.3
import -window "$win" "$out_dir/quorlin_try_start.png"
for k in Right Right Down Down; do
  xdotool key "$k"
  sleep 0.2
done
import -window "$win" "$work/tried.png"
cp "$work/tried.png" "$out_dir/quorlin_try_cleared.png"
for cell in "3 3" "4 3" "5 3" "5 4"; do
  cell_shows "$work/tried.png" 1 $cell || fail "try: cell ($cell) is not earth"
done
cell_shows "$work/tried.png" 3 5 5 || fail "try: the walker is not at (5, 5)"
status_line "$work/tried.png" "$work/cleared.png"
compare -metric AE "$work/cleared.png" "$work/can4.png" null: 2>/dev/null &&
  fail "the status did not change when the try cleared the stage"
xdotool key Escape
sleep 0.3
import -window "$win" "$work/after_try.png"
cell_shows "$work/after_try.png" 3 3 3 || fail "after the try the walker is not back at (3, 3)"
cell_shows "$work/after_try.png" 0 4 3 || fail "after the try (4, 3) is not grass"
wait_status "$work/can4.png" "can be cleared in 4 moves after the try"
cmp -s "$work/stage.stg" "$work/original.stg" || fail "the try changed the stage file"

# A grass cell out of every piece's reach: the status says it cannot be cleared, and
# brackle-solve, saved, agrees.
click "$win" $((8 + 8)) $((48 + 8))  # palette picture 0, grass; the brush is 1
click "$win" $((8 + 8 * 16 + 8)) $((72 + 8 * 16 + 8))
wait_status "$work/cannot.png" "cannot be cleared"
import -window "$win" "$out_dir/quorlin_status_cannot.png"
click "$win" $((136 + 36)) 12  # save
wait_changed "$work/stage.stg" "$work/original.stg"
cmp "$work/ref/stage.stg" "$work/stage.stg" || fail "the unclearable stage was not saved as painted"
status=0
"$bin_dir/brackle-solve" "$work/stage.stg" --stage 1 >"$work/solve.txt" || status=$?
[ "$status" -eq 2 ] || fail "brackle-solve finds the painted stage clearable: $(cat "$work/solve.txt")"

# Ctrl+Z takes the stroke back: 4 moves again. One more grass cell at the end of the
# walker's way makes 5, as stage 2 says.
xdotool key ctrl+z
wait_status "$work/can4.png" "can be cleared in 4 moves after Ctrl+Z"
click "$win" $((8 + 5 * 16 + 8)) $((72 + 6 * 16 + 8))
wait_status "$work/can5.png" "can be cleared in 5 moves"
import -window "$win" "$out_dir/quorlin_status_can.png"
cp "$work/stage.stg" "$work/before_save.stg"
click "$win" $((136 + 36)) 12  # save
wait_changed "$work/stage.stg" "$work/before_save.stg"
paint_stage 1 "$work/original.stg" 0 "$work/expected_can.stg" 65
cmp "$work/expected_can.stg" "$work/stage.stg" || fail "the clearable stage was not saved as painted"
"$bin_dir/brackle-solve" "$work/stage.stg" --stage 1 | grep -Eq '^ +1 .* solvable +5 ' ||
  fail "brackle-solve does not clear the painted stage in 5 moves"

# Ctrl+Z after the stroke, and a save, give the file as it was, byte for byte.
xdotool key ctrl+z
wait_status "$work/can4.png" "can be cleared in 4 moves after the second Ctrl+Z"
cp "$work/stage.stg" "$work/before_save.stg"
click "$win" $((136 + 36)) 12
wait_changed "$work/stage.stg" "$work/before_save.stg"
cmp "$work/original.stg" "$work/stage.stg" || fail "after Ctrl+Z the saved file is not the original"

# Closing with unsaved changes asks. "go on editing" keeps the editor; "discard" ends it and
# leaves the file as it was.
click "$win" $((8 + 2 * 16 + 8)) $((48 + 8))            # palette picture 2, the block
click "$win" $((8 + 5 * 16 + 8)) $((72 + 5 * 16 + 8))   # on the walker's way
sleep 0.2
"$window_tool" close "$win" || fail "could not ask the window to close"
prompt=$(find_window '^quorlin: unsaved changes$')
import -window root "$out_dir/quorlin_close_prompt.png"
xdotool mousemove --window "$prompt" $((190 + 50)) $((56 + 12)) click 1  # go on editing
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^quorlin: unsaved changes$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^quorlin: unsaved changes$' >/dev/null 2>&1 &&
  fail "the prompt stayed after go on editing"
kill -0 "$editor_pid" 2>/dev/null || fail "go on editing ended the editor"
"$window_tool" close "$win" || fail "could not ask the window to close"
prompt=$(find_window '^quorlin: unsaved changes$')
xdotool mousemove --window "$prompt" $((100 + 40)) $((56 + 12)) click 1  # discard
wait_end "discard"
cmp "$work/original.stg" "$work/stage.stg" || fail "discard changed the file"

echo "real window check passed; screenshots in $out_dir"

#!/usr/bin/env bash
# Runs the built editor from a copy of the runnable folder under a private Xvfb, paints a
# stage with xdotool, saves, and checks the file, the screen and the failure report.
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
  id=$(timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -1) || true
  [ -n "$id" ] || fail "no window named $1"
  echo "$id"
}

# Clicks window pixel (x, y) of window $1.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.1; }

# Waits for the editor to end and checks it ended with status 1 and the report on stderr.
expect_report() {
  local alert status=0
  alert=$(find_window '^quorlin$')
  import -window root "$out_dir/$1.png"
  xdotool windowfocus "$alert" 2>/dev/null || true
  xdotool key Return 2>/dev/null || true
  wait "$editor_pid" || status=$?
  editor_pid=
  [ "$status" -eq 1 ] || fail "$1: exit status $status, not 1"
  grep -qF "$work/stage.stg: " "$work/stderr" || fail "$1: no report line: $(cat "$work/stderr")"
}

hex_at() { convert "$1" -format "%[hex:p{$2,$3}]" info:; }

start_editor
win=$(find_window Brackle)
[ "$(xprop -id "$win" _NET_WM_NAME)" = '_NET_WM_NAME(UTF8_STRING) = "Brackleエディタ"' ] ||
  fail "caption: $(xprop -id "$win" _NET_WM_NAME)"
xwininfo -id "$win" | grep -q 'Width: 210' || fail "client width"
xwininfo -id "$win" | grep -q 'Height: 296' || fail "client height"
sleep 0.3

click "$win" $((8 + 2 * 16 + 8)) $((48 + 8))  # palette picture 2, the block
click "$win" $((176 + 8)) $((48 + 89 - 8))    # brush bar's lower arrow: brush 2
click "$win" $((8 + 185 - 8)) $((272 + 8))    # stage bar's right arrow, twice: stage 3
click "$win" $((8 + 185 - 8)) $((272 + 8))
click "$win" $((8 + 3 * 16 + 8)) $((72 + 4 * 16 + 8))  # cells (3..4, 4..5)
# A drag from cell (6, 1) to cell (8, 1): cells (6..9, 1..2).
xdotool mousemove --window "$win" $((8 + 6 * 16 + 8)) $((72 + 16 + 8)) mousedown 1
sleep 0.1
xdotool mousemove --window "$win" $((8 + 8 * 16 + 8)) $((72 + 16 + 8))
sleep 0.1
xdotool mouseup 1
click "$win" $((8 + 9 * 16 + 8)) $((72 + 9 * 16 + 8))  # cell (9, 9): the rest is clipped
sleep 0.4                                               # the timer redraws

import -window root "$out_dir/quorlin_screen.png"
import -window "$win" "$work/window.png"
cp "$work/window.png" "$out_dir/quorlin_window.png"

# The frame sits on palette picture 2; the painted cells show that picture.
[ "$(hex_at "$work/window.png" 40 48)" = FF0000 ] || fail "no frame on picture 2"
[ "$(hex_at "$work/window.png" 55 63)" = FF0000 ] || fail "frame corner"
convert "$palette_bmp" -crop 16x16+32+0 +repage "$work/block.png"
for cell in "3 4" "4 5" "9 1" "9 9"; do
  set -- $cell
  convert "$work/window.png" -crop 16x16+$((8 + 16 * $1))+$((72 + 16 * $2)) +repage "$work/cell.png"
  compare -metric AE "$work/cell.png" "$work/block.png" null: 2>/dev/null ||
    fail "cell ($1, $2) does not show the block picture"
done

click "$win" $((136 + 36)) 12  # save
for _ in $(seq 50); do cmp -s "$work/stage.stg" "$work/original.stg" || break; sleep 0.1; done

# Line 3 must differ from the original in exactly the painted cells.
line=$(sed -n 3p "$work/original.stg" | tr -d '\r')
for p in 43 44 53 54 16 17 18 19 26 27 28 29 99; do line="${line:0:p}2${line:p+1}"; done
{ head -n 2 "$work/original.stg"; printf '%s\r\n' "$line"; tail -n +4 "$work/original.stg"; } \
  >"$work/expected.stg"
cmp -s "$work/expected.stg" "$work/original.stg" && fail "the painted cells held blocks already"
cmp "$work/expected.stg" "$work/stage.stg" || fail "saved file differs from the painted stage"

# "save" recreates a removed file.
rm "$work/stage.stg"
click "$win" $((136 + 36)) 12
for _ in $(seq 50); do [ -f "$work/stage.stg" ] && break; sleep 0.1; done
cmp "$work/expected.stg" "$work/stage.stg" || fail "save did not recreate the file"

# "load" of a removed file ends the editor with the report.
rm "$work/stage.stg"
click "$win" 36 12
expect_report quorlin_load_failure

# So does a start without the file.
start_editor
expect_report quorlin_start_failure

echo "real window check passed; screenshots in $out_dir"

#!/usr/bin/env bash
# The game on a scaled screen, as Windows scales it (the caller sets the scale the
# system reports, e.g. Wine's LogPixels): the window and every position of the layout
# grow by the scale, the problem's boxes and the two button faces stand where the
# layout puts them, scaled. Leaves a screenshot.
# Usage: scaled.sh BINARY SCALE SCREENSHOT   (SCALE: 1, 1.5, 2)
source "$(dirname "$0")/../shell/lib.sh"
open_test
binary=$1
scale=$2
screenshot=$3
keep_screen() { cp "$work/screen.png" "$screenshot" 2>/dev/null; }
at_exit keep_screen

# Room for the whole window at 200 % (1458 x 1032 and the frame), where Windows puts it.
start_xvfb 2600x1600
"$binary" >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")
window=$(start_up "$game" Anna) || die "the start-up did not reach the game window"
eval "$(xdotool getwindowgeometry --shell "$window")"
s() { awk -v v="$1" -v s="$scale" 'BEGIN { printf "%d", v * s + 0.5 }'; } # a layout pixel, scaled

told=$(eventually shows_stripes_at "$work/screen.png" "$X" "$Y") || die "no stripes below the menu bar"
top=${told%% *}
check "the window is the layout's 729 pixels wide, scaled" test "$WIDTH" = "$(s 729)"
at() { pixel "$work/screen.png" $((X + $(s "$1"))) $((top + $(s "$2"))); }
check "numerator box is cyan at its scaled place" test "$(at 585 20)" = "0,255,255"
check "denominator box is cyan at its scaled place" test "$(at 585 190)" = "0,255,255"
check "Nuovo calcolo has its teal face at its scaled place" \
  has_colour "$work/screen.png" $((X + $(s 288))) $((top + $(s 336))) "$(s 121)" "$(s 73)" "0,192,192"
check "Exit has its orange face at its scaled place" \
  has_colour "$work/screen.png" $((X + $(s 512))) $((top + $(s 336))) "$(s 121)" "$(s 73)" "255,128,0"
summary

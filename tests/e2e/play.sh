#!/usr/bin/env bash
# Plays the real binary in a real X server with real X11 input: start-up, a right
# and a wrong answer, leaving with a new record, and starting again to see it.
# Usage: play.sh BINARY RECORD_FOLDER   (the folder the binary was built for)
set -euo pipefail

binary=$1
record=$2
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
checks=0
failures=0

cleanup() {
  # Screenshots stay beside the record folder for a look after a failure.
  mkdir -p "$record-screens" && cp "$work"/*.png "$record-screens"/ 2>/dev/null || true
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

check() { # description, then a command that must succeed
  local what=$1
  shift
  checks=$((checks + 1))
  if "$@"; then
    echo "ok   - $what"
  else
    echo "FAIL - $what"
    failures=$((failures + 1))
  fi
}

die() {
  echo "FAIL - $*"
  echo "$((checks)) passed, $((failures + 1)) failed"
  exit 1
}

# A display of our own: Xvfb picks a free number and tells it on fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || die "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 XDG_RUNTIME_DIR="$work" DBUS_SESSION_BUS_ADDRESS=disabled:
unset QT_QPA_PLATFORMTHEME

# The colour of one pixel of a screenshot, as "r,g,b".
pixel() {
  convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- | sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
# Does a region of a screenshot hold a pixel of exactly this colour?
has_colour() { # image x y w h r,g,b
  convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- | grep -c "($6)" >/dev/null
}

seen_windows=" "
# Waits for a new visible window whose name matches, focuses it, sends keys.
answer_window() { # name-regex, then xdotool key arguments
  local pattern=$1 id=""
  shift
  for _ in $(seq 150); do
    for candidate in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
      case "$seen_windows" in *" $candidate "*) ;; *) id=$candidate ;; esac
    done
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || die "no window named '$pattern' appeared"
  seen_windows="$seen_windows$id "
  sleep 0.2
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  xdotool "$@"
}

start_game() { # player name
  seen_windows=" " # a new client may be given the window ids of the last one
  "$binary" >"$work/game.log" 2>&1 &
  game_pid=$!
  answer_window '^Quorvela$' type --delay 30 "$1"
  xdotool key Return
  for _ in 1 2 3 4 5 6 7; do answer_window '^Quorvela$' key Return; done
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name 'Quorvela anche con diverso denominatore' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || die "the game window with its long title did not appear"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  win_x=$X
  win_y=$Y
}

# Finds the client area's top (below the menu bar) and reads the stripes' red and
# green: red is resultNum + 100, green resultDen x 20 (255 from 13 on).
read_problem() { # screenshot
  local column row colour
  column=$((win_x + 720))
  client_y=""
  for row in $(seq "$win_y" $((win_y + 60))); do
    colour=$(pixel "$1" "$column" "$row")
    if [ "${colour##*,}" = 0 ] && [ "${colour%%,*}" -gt 100 ]; then client_y=$row; break; fi
  done
  [ -n "$client_y" ] || die "no stripes found below the menu bar"
  colour=$(pixel "$1" "$column" "$client_y")
  red=${colour%%,*}
  green=$(echo "$colour" | cut -d, -f2)
  result_num=$((red - 100))
  result_den=""
  [ "$green" -lt 255 ] && result_den=$((green / 20))
  return 0
}

at() { # screenshot, client x, client y
  pixel "$1" $((win_x + $2)) $((client_y + $3))
}

type_answer() { # numerator denominator
  xdotool type --delay 30 "$1"
  xdotool key Return
  [ -n "$2" ] && xdotool type --delay 30 "$2"
  xdotool key Return
  sleep 0.4
}

rm -rf "$record"

# First game: the record folder does not exist yet.
start_game Luca
import -window root "$work/first.png"
read_problem "$work/first.png"
check "record files created empty" test -f "$record/qvlmarc.txt" -a ! -s "$record/qvlmarc.txt" -a -f "$record/qvlmarc1.txt" -a ! -s "$record/qvlmarc1.txt"
check "numerator box is cyan at its place" test "$(at "$work/first.png" 585 20)" = "0,255,255"
check "denominator box is cyan at its place" test "$(at "$work/first.png" 585 190)" = "0,255,255"
for band in 0 50 150; do
  row=$(( (band * 3 * 516 + 512 / 2) / 512 + 1 ))
  check "stripe $band: red resultNum + 100, blue $band" test "$(at "$work/first.png" 720 "$row")" = "$red,$green,$band"
done
check "no record holder shown yet" bash -c "! convert '$work/first.png' -crop 300x30+$((win_x + 170))+$((client_y + 482)) +repage -depth 8 txt:- | grep -q '(0,255,255)'"

# Right answers only where the stripes tell the denominator (resultDen <= 12).
right=0
for _ in $(seq 20); do
  if [ -n "$result_den" ]; then
    den_text=$result_den
    [ "$result_den" = 1 ] && den_text=""
    type_answer "$result_num" "$den_text"
    right=1
  else
    type_answer 999 1
  fi
  import -window root "$work/judged.png"
  check "the window is black after a judged answer" test "$(at "$work/judged.png" 720 300)" = "0,0,0"
  xdotool key Return # Enter on "Nuovo calcolo" draws the next problem
  sleep 0.4
  import -window root "$work/next.png"
  read_problem "$work/next.png"
  [ "$right" = 1 ] && break
done
check "one right answer given" test "$right" = 1
type_answer $((result_num + 1)) 7
import -window root "$work/wrong.png"
check "the window is black after the wrong answer" test "$(at "$work/wrong.png" 720 300)" = "0,0,0"

# Leave with Sì (Alt+S): the question, then the congratulation, then the end.
xdotool key alt+x
answer_window '^Uscire dal programma$' key alt+s
answer_window '^Quorvela$' key Return
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
status=0
wait "$game_pid" || status=$?
game_pid=""
check "the game ended with status 0" test "$status" = 0
check "score file holds 1 CR LF" bash -c "printf '1\r\n' | cmp -s - '$record/qvlmarc.txt'"
check "name file holds Luca CR LF" bash -c "printf 'Luca\r\n' | cmp -s - '$record/qvlmarc1.txt'"

# Second game: the saved record is on the window.
start_game Eva
import -window root "$work/second.png"
read_problem "$work/second.png"
check "record holder's name shown in cyan" has_colour "$work/second.png" $((win_x + 170)) $((client_y + 482)) 300 30 "0,255,255"
check "record score shown in green" has_colour "$work/second.png" $((win_x + 664)) $((client_y + 472)) 60 40 "0,255,0"
xdotool key alt+x
answer_window '^Uscire dal programma$' key alt+s
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
wait "$game_pid" || true
game_pid=""
check "leaving without a better score keeps the record" bash -c "printf '1\r\n' | cmp -s - '$record/qvlmarc.txt' && printf 'Luca\r\n' | cmp -s - '$record/qvlmarc1.txt'"

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" = 0 ]

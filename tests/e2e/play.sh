#!/usr/bin/env bash
# Plays the real binary in a real X server with real X11 input: start-up, right
# and wrong answers, leaving with a new record, and then two copies at once, one
# of them under a second account, where the lower score must not replace the
# better record that the other copy saved in the meantime.
# Usage: play.sh BINARY RECORD_FOLDER SCREENS_FOLDER
#   RECORD_FOLDER is the folder the binary was built for; it must be reachable
#   by every account (the test removes it at the start and at the end).
#   With QUORVELA_E2E_ONE_ACCOUNT set, both copies run under the caller's account
#   (a Wine prefix belongs to one account).
set -euo pipefail

binary=$1
record=$2
screens=$3
work=$(mktemp -d)
chmod 0755 "$work"
source "$(dirname "$0")/lib.sh"

cleanup() {
  mkdir -p "$screens" && cp "$work"/*.png "$screens"/ 2>/dev/null || true
  stop_all
  rm -rf "$work" "$record"
}
trap cleanup EXIT

# Wide enough for two game windows side by side.
start_xvfb 1700x800
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 DBUS_SESSION_BUS_ADDRESS=disabled:
unset QT_QPA_PLATFORMTHEME

account=quorvela-e2e
[ -n "${QUORVELA_E2E_ONE_ACCOUNT:-}" ] || use_account "$account"
if [ "${#run_as[@]}" -gt 0 ]; then
  # The binary where the account can reach it, whatever the build tree's permissions.
  cp "$binary" "$work/quorvela"
  binary=$work/quorvela
fi

# Does a region of a screenshot hold a pixel of exactly this colour?
has_colour() { # image x y w h r,g,b
  convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- | grep -c "($6)" >/dev/null
}
shot() { import -window root "$work/$1.png"; }

visible() { # pid name-regex: the game's visible windows of that name
  local pid
  # The game, or its child when BINARY is a wrapper (the benchmarks measure through one).
  for pid in "$1" $(pgrep -P "$1"); do
    xdotool search --all --onlyvisible --pid "$pid" --name "$2" 2>/dev/null || true
  done
}

# The first visible window of this game with this name, once it has appeared.
wait_window() { # pid name-regex: prints its id; fails after 15 seconds
  local id
  for _ in $(seq 150); do
    id=$(visible "$1" "$2" | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits for a window of this game with this name, focuses it and sends keys;
# sends them again while it stays open (a key sent while it was still mapping).
answer_window() { # pid name-regex, then xdotool key arguments
  local pid=$1 pattern=$2 id
  shift 2
  id=$(wait_window "$pid" "$pattern") || die "no window named '$pattern' appeared"
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool "$@"
    for _ in $(seq 30); do
      visible "$pid" "$pattern" | grep -qx "$id" || return 0
      sleep 0.1
    done
  done
  die "the window '$pattern' did not close"
}

# Starts a game and answers its start-up; sets game (its pid) and window.
start_game() { # player name, then the command prefix that runs it (may be empty)
  local name=$1
  shift
  mkdir -p "$work/run-$name"
  [ "$#" -gt 0 ] && chown "$account" "$work/run-$name"
  chmod 0700 "$work/run-$name"
  XDG_RUNTIME_DIR="$work/run-$name" HOME="$work/run-$name" "$@" "$binary" >"$work/$name.log" 2>&1 &
  game=$!
  pids+=("$game")
  local id
  id=$(wait_window "$game" '^Quorvela$') || die "the name question of $name did not appear"
  xdotool windowfocus --sync "$id"
  xdotool type --delay 30 "$name"
  answer_window "$game" '^Quorvela$' key Return
  for _ in 1 2 3 4 5 6 7; do answer_window "$game" '^Quorvela$' key Return; done
  window=$(wait_window "$game" 'Quorvela anche con diverso denominatore') ||
    die "the game window of $name with its long title did not appear"
}

# Takes the window's place for at() and read_problem.
use_window() { # window id
  xdotool windowfocus --sync "$1"
  eval "$(xdotool getwindowgeometry --shell "$1")"
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
  [ -n "$client_y" ] || return 1
  colour=$(pixel "$1" "$column" "$client_y")
  red=${colour%%,*}
  green=$(echo "$colour" | cut -d, -f2)
  result_num=$((red - 100))
  result_den=""
  [ "$green" -lt 255 ] && result_den=$((green / 20))
  return 0
}
# A new screenshot until the stripes of a problem are there.
shows_problem() { shot "$1" && read_problem "$work/$1.png"; }
# A new screenshot until the client area is black, as after judging.
shows_black() { shot "$1" && [ "$(at "$1" 720 300)" = "0,0,0" ]; }

at() { # screenshot's name, client x, client y
  pixel "$work/$1.png" $((win_x + $2)) $((client_y + $3))
}

type_answer() { # numerator denominator
  xdotool type --delay 30 "$1"
  xdotool key Return
  [ -n "$2" ] && xdotool type --delay 30 "$2"
  xdotool key Return
}

# Answers until the given number of answers were right; right answers only where
# the stripes tell the denominator (resultDen <= 12).
score_points() { # how many
  local right=0
  for _ in $(seq 40); do
    eventually shows_problem next || die "no stripes found below the menu bar"
    if [ -n "$result_den" ]; then
      den_text=$result_den
      [ "$result_den" = 1 ] && den_text=""
      type_answer "$result_num" "$den_text"
      right=$((right + 1))
    else
      type_answer 999 1
    fi
    check "the window is black after a judged answer" eventually shows_black judged
    xdotool key Return # Enter on "Nuovo calcolo" draws the next problem
    [ "$right" = "$1" ] && break
  done
  check "$1 right answers given" test "$right" = "$1"
  eventually shows_problem next || die "no stripes after the last answer"
}

ended_with() { # pid status
  local status=0
  eventually bash -c "! kill -0 $1 2>/dev/null" || return 1
  wait "$1" || status=$?
  test "$status" = "$2"
}

files_hold() { # score name
  printf '%s\r\n' "$1" | cmp -s - "$record/qvlmarc.txt" && printf '%s\r\n' "$2" | cmp -s - "$record/qvlmarc1.txt"
}

only_record_files() {
  test "$(ls -A "$record" | tr '\n' ' ')" = "qvlmarc.txt qvlmarc1.txt "
}

rm -rf "$record"

# First game: the record folder does not exist yet.
start_game Luca
use_window "$window"
eventually shows_problem first || die "no stripes found below the menu bar"
check "record files created empty" test -f "$record/qvlmarc.txt" -a ! -s "$record/qvlmarc.txt" -a -f "$record/qvlmarc1.txt" -a ! -s "$record/qvlmarc1.txt"
check "numerator box is cyan at its place" test "$(at first 585 20)" = "0,255,255"
check "denominator box is cyan at its place" test "$(at first 585 190)" = "0,255,255"
for band in 0 50 150; do
  row=$(( (band * 3 * 516 + 512 / 2) / 512 + 1 ))
  check "stripe $band: red resultNum + 100, blue $band" test "$(at first 720 "$row")" = "$red,$green,$band"
done
check "no record holder shown yet" bash -c "! convert '$work/first.png' -crop 300x30+$((win_x + 170))+$((client_y + 482)) +repage -depth 8 txt:- | grep -q '(0,255,255)'"

score_points 1
type_answer $((result_num + 1)) 7
check "the window is black after the wrong answer" eventually shows_black wrong

# Leave with Sì (Alt+S): the question, then the congratulation, then the end.
xdotool key alt+x
answer_window "$game" '^Uscire dal programma$' key alt+s
answer_window "$game" '^Quorvela$' key Return
check "the game ended with status 0" ended_with "$game" 0
check "the record files hold 1 and Luca, CR LF each" files_hold 1 Luca

# Two copies at once, both showing Luca's record of 1: Ugo starts first, Eva
# (under the second account, when there is one) saves 2, then Ugo leaves with 2.
start_game Ugo
ugo=$game ugo_window=$window
xdotool windowmove --sync "$ugo_window" 900 35
use_window "$ugo_window"
eventually shows_problem second || die "no stripes in Ugo's window"
check "record holder's name shown in cyan" has_colour "$work/second.png" $((win_x + 170)) $((client_y + 482)) 300 30 "0,255,255"
check "record score shown in green" has_colour "$work/second.png" $((win_x + 664)) $((client_y + 472)) 60 40 "0,255,0"

start_game Eva "${run_as[@]}"
eva=$game
use_window "$window"
score_points 2
xdotool key alt+x
answer_window "$eva" '^Uscire dal programma$' key alt+s
answer_window "$eva" '^Quorvela$' key Return
check "Eva's game ended with status 0" ended_with "$eva" 0
check "Eva's 2 replaced Luca's record" files_hold 2 Eva
if [ "${#run_as[@]}" -gt 0 ]; then
  check "the second account saved over the first one's files" test "$(stat -c %U "$record/qvlmarc.txt" "$record/qvlmarc1.txt" | sort -u)" = "$account"
else
  echo "note - both copies ran under one account"
fi

use_window "$ugo_window"
score_points 2
xdotool key alt+x
answer_window "$ugo" '^Uscire dal programma$' key alt+s
check "Ugo's game ended at once, with no congratulation" ended_with "$ugo" 0
check "Ugo's 2 did not replace Eva's record of 2" files_hold 2 Eva
check "the folder holds the two record files only" only_record_files

summary

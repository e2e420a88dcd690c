#!/usr/bin/env bash
# Plays the real binary in a real X server with real X11 input: start-up, right
# and wrong answers, leaving with a new record, and then two copies at once, one
# of them under a second account, where the lower score must not replace the
# better record that the other copy saved in the meantime.
# Usage: play.sh BINARY RECORD_FOLDER SCREENS_FOLDER [PROGRAMS_FOLDER]
#   RECORD_FOLDER is the folder the binary was built for; it must be reachable
#   by every account (the test removes it at the start and at the end).
#   PROGRAMS_FOLDER, where the binary (the record's keeper) starts its game
#   (BINARY-game beside it): both are copied there for every account to reach.
#   As root, the record is then set up as an installation sets it up (only the
#   set-group-id keeper may write it) and checked after every save.
#   With QUORVELA_E2E_ONE_ACCOUNT set, both copies run under the caller's account
#   (a Wine prefix belongs to one account).
source "$(dirname "$0")/../shell/lib.sh"
open_test

binary=$1
record=$2
screens=$3
programs=${4:-}
keep_screens() { mkdir -p "$screens" && cp "$work"/*.png "$screens"/ 2>/dev/null; }
at_exit keep_screens
at_exit rm -rf "$record"

# Wide enough for two game windows side by side.
start_xvfb 1700x800
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 DBUS_SESSION_BUS_ADDRESS=disabled:
unset QT_QPA_PLATFORMTHEME

rm -rf "$record"
installed=""
if [ -n "$programs" ]; then
  # The keeper and its game where every account can reach them, whatever the
  # build tree's permissions.
  place_game "$binary" "$programs"
  binary=$programs/$(basename "$binary")
  if [ "$(id -u)" = 0 ]; then
    # As installed: the game readable by root alone, the keeper set-group-id.
    chmod 0711 "$binary-game"
    "$QUORVELA_RECORD_SETUP" "$record" "$binary"
    installed=yes
  fi
fi
# Of this run alone: another run on the machine removes its own when it ends.
account=quorvela-e2e-$$
run_as=()
if [ -z "${QUORVELA_E2E_ONE_ACCOUNT:-}" ] && [ -n "$programs" ] && make_account "$account"; then
  read -ra run_as <<<"$(as_account "$account")"
fi

shot() { import -window root "$work/$1.png"; }

# Is every pixel of a region of a screenshot exactly this colour?
all_colour() { # image x y w h r,g,b
  test "$(convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- | grep -c "($6)")" = $(($4 * $5))
}

# A button's face, 121 x 73: the bands left and right of its picture and
# caption, inside its frame, are wholly its colour (no shading lightens it).
face_is() { # image button-x button-y r,g,b
  all_colour "$1" $(($2 + 6)) $(($3 + 6)) 12 61 "$4" && all_colour "$1" $(($2 + 103)) $(($3 + 6)) 12 61 "$4"
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
  window=$(start_up "$game" "$name") || die "the start-up of $name did not reach the game window"
}

# Takes the window's place for at() and the stripes.
use_window() { # window id
  xdotool windowfocus --sync "$1"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  win_x=$X
  win_y=$Y
}

# A new screenshot until the stripes of a problem are there; then what they tell is
# in client_y, red, green, result_num and result_den (empty when not told).
problem_shown() { shot "$1" && stripes "$work/$1.png" "$win_x" "$win_y"; }
read_problem() { # screenshot name
  local told
  told=$(eventually problem_shown "$1") || die "no stripes found below the menu bar"
  read -r client_y red green result_num result_den <<<"$told"
  [ "$result_den" != - ] || result_den=""
}
# A new screenshot until the client area is black, as after judging.
shows_black() { shot "$1" && [ "$(at "$1" 720 300)" = "0,0,0" ]; }

at() { # screenshot's name, client x, client y
  pixel "$work/$1.png" $((win_x + $2)) $((client_y + $3))
}

score_points() { # how many
  score_in "$win_x" "$win_y" "$1" "$work"
  read_problem next
}

ended_with() { # pid status
  local status=0
  eventually bash -c "! kill -0 $1 2>/dev/null" || return 1
  wait "$1" || status=$?
  test "$status" = "$2"
}

files_hold() { # score name
  printf '%s\r\n' "$1" | cmp -s - "$record/${score_file}" && printf '%s\r\n' "$2" | cmp -s - "$record/${name_file}"
}

only_record_files() {
  local expected="${journal_file} ${score_file} ${name_file} "
  # Installed, with root's spare for each.
  [ -z "$installed" ] || expected="${spare}${journal_file} ${spare}${score_file} ${spare}${name_file} $expected"
  [ -n "$installed" ] || [ -e "$record/${journal_file}" ] || expected="${score_file} ${name_file} "
  test "$(ls -A "$record" | LC_ALL=C sort | tr '\n' ' ')" = "$expected"
}

# As installed: the folder and the files root's and the games group's, after every save.
record_protected() {
  [ -n "$installed" ] || return 0
  test "$(stat -c '%U:%G %a' "$record")" = "root:games 775" &&
    test "$(stat -c '%U:%G %a' "$record/${score_file}" "$record/${name_file}" | sort -u)" = "root:games 664" &&
    test "$(stat -c '%U:%G %a' "$record/${journal_file}")" = "root:games 660"
}

# First game: the record folder does not exist yet.
start_game Luca
use_window "$window"
read_problem first
check "record files created empty" test -f "$record/${score_file}" -a ! -s "$record/${score_file}" -a -f "$record/${name_file}" -a ! -s "$record/${name_file}"
check "numerator box is cyan at its place" test "$(at first 585 20)" = "0,255,255"
check "denominator box is cyan at its place" test "$(at first 585 190)" = "0,255,255"
check "Nuovo calcolo has its teal face" face_is "$work/first.png" $((win_x + 288)) $((client_y + 336)) "0,192,192"
check "Exit has its orange face" face_is "$work/first.png" $((win_x + 512)) $((client_y + 336)) "255,128,0"
for band in 0 50 150; do
  row=$(( (band * 3 * 516 + 512 / 2) / 512 + 1 ))
  check "stripe $band: red resultNum + 100, blue $band" test "$(at first 720 "$row")" = "$red,$green,$band"
done
check "no record holder shown yet" bash -c "! convert '$work/first.png' -crop 300x30+$((win_x + 170))+$((client_y + 482)) +repage -depth 8 txt:- | grep -q '(0,255,255)'"

score_points 1
type_answer $((result_num + 1)) 7
check "the window is black after the wrong answer" eventually shows_black wrong

# Leave with Sì (Alt+S): the question, then the congratulation, then the end.
leave_with_yes "$game" congratulated || die "Luca's question to leave or congratulation did not close"
check "the game ended with status 0" ended_with "$game" 0
check "the record files hold 1 and Luca, CR LF each" files_hold 1 Luca
check "the record is still protected after Luca's save" record_protected

# Two copies at once, both showing Luca's record of 1: Ugo starts first, Eva
# (under the second account, when there is one) saves 2, then Ugo leaves with 2.
start_game Ugo
ugo=$game ugo_window=$window
xdotool windowmove --sync "$ugo_window" 900 35
use_window "$ugo_window"
read_problem second
check "record holder's name shown in cyan" has_colour "$work/second.png" $((win_x + 170)) $((client_y + 482)) 300 30 "0,255,255"
check "record score shown in green" has_colour "$work/second.png" $((win_x + 664)) $((client_y + 472)) 60 40 "0,255,0"

start_game Eva "${run_as[@]}"
eva=$game
use_window "$window"
score_points 2
leave_with_yes "$eva" congratulated || die "Eva's question to leave or congratulation did not close"
check "Eva's game ended with status 0" ended_with "$eva" 0
check "Eva's 2 replaced Luca's record" files_hold 2 Eva
check "the record is still protected after Eva's save" record_protected
[ "${#run_as[@]}" -gt 0 ] || echo "note - both copies ran under one account"

use_window "$ugo_window"
score_points 2
leave_with_yes "$ugo" || die "Ugo's question to leave did not close"
check "Ugo's game ended at once, with no congratulation" ended_with "$ugo" 0
check "Ugo's 2 did not replace Eva's record of 2" files_hold 2 Eva
check "the folder holds the two record files and the journal only (and their spares)" only_record_files

summary

# Shared by every script test: its opening and its end (open_test), checks and their
# count, waits on what the screen shows, an X server of the test's own, a session with
# a screen reader, a second account, the game's start-up and the problem its stripes
# tell, and the end of every process started (by its PID). Helpers that find something
# print it; only the registries below (checks, processes, accounts, steps for the end)
# are shared.

# The record's file names, read from the store's header as the build reads them for
# its tmpfiles entry: score_file, name_file, journal_file, and spare (the prefix of a
# file's spare in an installed folder). Exported: the shells a test starts, as a
# pupil or inside a root, name them too.
record_header=$(dirname "${BASH_SOURCE[0]}")/../../store/recordstore.h
record_constant() { sed -n "s/^inline constexpr char k$1\\[\\] = \"\\([^\"]*\\)\";\$/\\1/p" "$record_header"; }
score_file=$(record_constant ScoreFile)
name_file=$(record_constant NameFile)
journal_file=$(record_constant JournalFile)
spare=$(record_constant SparePrefix)
if [ -z "$score_file" ] || [ -z "$name_file" ] || [ -z "$journal_file" ] || [ -z "$spare" ]; then
  echo "FAIL - $record_header does not name the record's files"
  exit 1
fi
export score_file name_file journal_file spare

checks=0
failures=0
pids=()
accounts=()
exit_steps=()
work=""
keep_work=""

# Opens a script test, right after this file is sourced: strict mode; $work, a folder
# of the test's own, or WORK_DIR (made when missing, and kept for a look after a
# failure); and, however the script ends, every process it started stopped, the
# steps given to at_exit run, and its own folder removed.
open_test() { # [WORK_DIR]
  set -euo pipefail
  if [ "$#" -gt 0 ]; then
    work=$1 keep_work=yes
    mkdir -p "$work"
  else
    work=$(mktemp -d)
    # Some tests run the game or a compositor under a second account, which reads it.
    chmod 0755 "$work"
  fi
  trap close_test EXIT
}

# A command for the end of the test, run once every process started has ended: the
# files to keep copied, a mount or a server ended. Its words are taken as they are
# now; a function of the caller's expands what exists only then.
at_exit() { # command and its arguments
  exit_steps+=("$(printf '%q ' "$@")")
}

# Puts a record's keeper and its game (BINARY-game beside it) in the folder the
# keeper starts its game from, for every account to reach; removed at the end.
place_game() { # binary folder
  rm -rf "$2"
  mkdir -m 0755 "$2"
  cp "$1" "$1-game" "$2/"
  at_exit rm -rf "$2"
}

# Nothing here may fail: under set -e the trap would replace the test's exit status.
close_test() {
  local step
  stop_all
  for step in "${exit_steps[@]}"; do eval "$step" || true; done
  [ -n "$keep_work" ] || rm -rf "$work"
}

# Ends a test that cannot run without root as skipped (CTest's SKIP_RETURN_CODE 77).
needs_root() {
  [ "$(id -u)" = 0 ] && return 0
  echo "skipped: needs root"
  exit 77
}

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

tally() { echo "$((checks - failures)) passed, $failures failed"; }

# A failure the test cannot go on from: counted, and the test ends with the tally.
die() {
  echo "FAIL - $*"
  checks=$((checks + 1)) failures=$((failures + 1))
  tally
  exit 1
}

# Ends the test when a check has failed so far: what follows builds on them.
stop_on_failure() {
  [ "$failures" = 0 ] && return 0
  tally
  exit 1
}

# A check that what follows builds on: the test ends when it, or one before it, failed.
require() { # description, then a command that must succeed
  check "$@"
  stop_on_failure
}

# The closing line; fails when a check failed.
summary() {
  tally
  [ "$failures" = 0 ]
}

# Retries a command for up to 15 seconds (patience tenths of a second): the program
# paints and closes dialogs in its own time, and a loaded machine must not turn that
# into a failure. A script whose game runs emulated sets more patience.
patience=${patience:-150}
eventually() {
  for _ in $(seq "$patience"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# An X server on a free display (Xvfb tells it on fd 3). Without -noreset it would
# reset when its last client leaves, and a program starting then could not connect.
start_xvfb() { # WIDTHxHEIGHT
  Xvfb -displayfd 3 -noreset -screen 0 "${1}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  eventually test -s "$work/display" || die "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")"
}

# Makes a system account of the test's own when missing (stop_all removes it);
# fails when the test does not run as root, where there is no second account.
make_account() { # name
  [ "$(id -u)" = 0 ] || return 1
  id "$1" >/dev/null 2>&1 && return 0
  useradd --system --no-create-home --shell /usr/sbin/nologin "$1"
  accounts+=("$1")
}

# Prints the prefix that runs a command under an account (read -ra into an array).
as_account() { # name
  echo "setpriv --reuid=$(id -u "$1") --regid=$(id -g "$1") --clear-groups"
}

# Every process below one, its children first.
descendants() { # pid
  local child
  for child in $(pgrep -P "$1"); do
    descendants "$child"
    echo "$child"
  done
}

stop_all() {
  local pid
  # What the processes started (services started on a bus, a server's modules) too.
  for pid in "${pids[@]}"; do pids+=($(descendants "$pid")); done
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  # An account still running a process cannot be removed: wait for them to end.
  for pid in "${pids[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  local account
  for account in "${accounts[@]}"; do
    userdel "$account" 2>/dev/null || echo "note - could not remove the account $account"
  done
  return 0
}


# A Debian root of the test's own, at the folder in $root: mounts inside it,
# undone at the end (the last first; at_exit unmount_all once), its accounts'
# commands, and the game installed there.
mounts=()
mount_in_root() { # mount arguments..., target inside the root
  mount "$@"
  mounts+=("${*: -1}")
}
unmount_all() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || true; done
}
as_pupil() { # account, then a command: run by that account inside the root, in its own group only
  local uid gid
  uid=$(chroot "$root" id -u "$1")
  gid=$(chroot "$root" id -g "$1")
  shift
  chroot --userspec="$uid:$gid" --groups="$gid" "$root" "$@"
}
# Starts the installed game as that account on $DISPLAY (its X socket mounted in
# the root), its output in $work/game-ACCOUNT.log; sets game_pid.
start_game() { # account [VARIABLE=value...]
  local account=$1
  shift
  install -d -m 0700 -o "$(chroot "$root" id -u "$account")" "$root/tmp/run-$account"
  as_pupil "$account" env -i DISPLAY="$DISPLAY" HOME="/home/$account" XDG_RUNTIME_DIR="/tmp/run-$account" \
    LANG=C.UTF-8 DBUS_SESSION_BUS_ADDRESS=disabled: "$@" /usr/games/quorvela >"$work/game-$account.log" 2>&1 &
  game_pid=$!
  pids+=("$game_pid")
}

# The game's visible windows with this name: those of the process or of any it
# started (the record's keeper starts the game; an account's or a benchmark's
# wrapper starts the keeper).
visible() { # pid name-regex
  local pid
  for pid in "$1" $(descendants "$1"); do
    xdotool search --all --onlyvisible --pid "$pid" --name "$2" 2>/dev/null || true
  done
}

# Prints the first visible window of this game with this name once it has appeared;
# fails after 15 seconds (patience).
wait_window() { # pid name-regex
  local id
  for _ in $(seq "$patience"); do
    id=$(visible "$1" "$2" | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits for a window of this game with this name, focuses it and sends keys; sends
# them again while it stays open (keys sent while it was still mapping are lost).
answer_window() { # pid name-regex, then xdotool arguments
  local pid=$1 pattern=$2 id
  shift 2
  id=$(wait_window "$pid" "$pattern") || return 1
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool "$@"
    for _ in $(seq $((patience / 5))); do
      visible "$pid" "$pattern" | grep -qx "$id" || return 0
      sleep 0.1
    done
  done
  return 1
}

# Answers a game's start-up, the name question and then the seven boxes, and prints
# the id of the game's window once it shows its long title.
start_up() { # pid player-name
  local id
  id=$(wait_window "$1" '^Quorvela$') || return 1
  xdotool windowfocus --sync "$id"
  xdotool type --delay 30 "$2"
  answer_window "$1" '^Quorvela$' key Return || return 1
  for _ in 1 2 3 4 5 6 7; do answer_window "$1" '^Quorvela$' key Return || return 1; done
  wait_window "$1" 'Quorvela anche con diverso denominatore'
}

# The colour of one pixel of a screenshot, as "r,g,b".
pixel() { # image x y
  convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- | sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# What the stripes of a window at X, Y in a screenshot tell. The first row of the
# stripes (red above 100, blue 0) in column X + 720 is the client area's top, below
# the menu bar; its red is resultNum + 100, its green resultDen x 20 (255 from 13 on,
# where the denominator is not told: "-"). Prints "top red green numerator denominator".
stripes() { # image x y
  local row colour red green denominator=-
  for row in $(seq "$3" $(($3 + 60))); do
    colour=$(pixel "$1" $(($2 + 720)) "$row")
    [ "${colour##*,}" = 0 ] && [ "${colour%%,*}" -gt 100 ] && break
    colour=""
  done
  [ -n "$colour" ] || return 1
  red=${colour%%,*}
  green=$(echo "$colour" | cut -d, -f2)
  [ "$green" -lt 255 ] && denominator=$((green / 20))
  echo "$row $red $green $((red - 100)) $denominator"
}

# Does a region of a screenshot hold a pixel of exactly this colour?
has_colour() { # image x y w h r,g,b
  convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- | grep -c "($6)" >/dev/null
}

# Types a numerator, Enter, a denominator (none for a whole number), Enter.
type_answer() { # numerator [denominator]
  xdotool type --delay 30 "$1"
  xdotool key Return
  [ -z "${2:-}" ] || xdotool type --delay 30 "$2"
  xdotool key Return
}

shows_stripes_at() { import -window root "$1" && stripes "$1" "$2" "$3"; }
# Black well inside the client area, as after judging.
shows_black_at() { import -window root "$1" && [ "$(pixel "$1" $(($2 + 720)) $(($3 + 320)))" = "0,0,0" ]; }

# Plays the focused game window at X, Y until HOW_MANY answers were right: the
# sum where the stripes tell it (resultDen <= 12), a wrong answer elsewhere, then
# Enter on "Nuovo calcolo". Screenshots go to FOLDER (next.png, judged.png).
score_in() { # x y how-many folder
  local right=0 told num den
  for _ in $(seq 40); do
    told=$(eventually shows_stripes_at "$4/next.png" "$1" "$2") || die "no stripes below the menu bar"
    read -r _ _ _ num den <<<"$told"
    if [ "$den" != - ]; then
      [ "$den" != 1 ] || den=""
      type_answer "$num" "$den"
      right=$((right + 1))
    else
      type_answer 999 1
    fi
    check "the window is black after a judged answer" eventually shows_black_at "$4/judged.png" "$1" "$2"
    xdotool key Return # Enter on "Nuovo calcolo" draws the next problem
    [ "$right" = "$3" ] && break
  done
  check "$3 right answers given" test "$right" = "$3"
}

# Leaves a game with Sì (Alt+S) and, when it saved a new record, closes the
# congratulation.
leave_with_yes() { # pid [congratulated]
  xdotool key alt+x
  answer_window "$1" '^Uscire dal programma$' key alt+s || return 1
  [ -z "${2:-}" ] || answer_window "$1" '^Quorvela$' key Return
}

# A pupil's session with a screen reader, of the test's own: Xvfb, a window manager, a
# D-Bus session bus with the accessibility bus on it, speech-dispatcher with espeak-ng
# speaking Italian into ALSA's null device, and Orca, which writes every utterance into
# its debug file as a "SPEECH OUTPUT:" line (read by said and hears below).
start_screen_reader() { # [WIDTHxHEIGHT]
  start_xvfb "${1:-1024x768}"
  twm -f /dev/null >"$work/twm.log" 2>&1 &
  pids+=($!)

  # A home of the test's own: Orca's settings, the sound going nowhere.
  export HOME=$work/home XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/home/.config \
    XDG_DATA_HOME=$work/home/.local/share XDG_CACHE_HOME=$work/home/.cache LC_ALL=C.UTF-8
  unset QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME QT_ACCESSIBILITY QT_LINUX_ACCESSIBILITY_ALWAYS_ON
  mkdir -p "$HOME"
  mkdir -m 0700 "$XDG_RUNTIME_DIR"
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$HOME/.asoundrc"

  # The session bus; the accessibility bus is started on it when Orca asks.
  dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid"
  pids+=("$(cat "$work/bus.pid")")
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
  export DBUS_SESSION_BUS_ADDRESS

  # Speech in Italian through espeak-ng, to no sound card.
  mkdir -p "$work/speechd/modules"
  cp /etc/speech-dispatcher/modules/espeak-ng.conf "$work/speechd/modules/"
  cat >"$work/speechd/speechd.conf" <<'EOF'
AudioOutputMethod "alsa"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
DefaultLanguage "it"
EOF
  speech-dispatcher --run-single --timeout 0 --config-dir "$work/speechd" --log-dir "$work" \
    >"$work/speechd.log" 2>&1 &
  pids+=($!)
  disown # it ends with a crash on SIGTERM, of no interest here

  # Orca writes its debug file through Python's block buffer; line by line, the test
  # sees each utterance as it is made.
  /usr/bin/python3 -c '
import builtins, runpy, sys
plain_open = builtins.open
def line_buffered_open(file, mode="r", *args, **kwargs):
    if mode == "w" and not args and "buffering" not in kwargs:
        kwargs["buffering"] = 1
    return plain_open(file, mode, *args, **kwargs)
builtins.open = line_buffered_open
sys.argv = ["orca", "--debug-file", sys.argv[1]]
runpy.run_path("/usr/bin/orca", run_name="__main__")
' "$work/orca.debug" >"$work/orca.log" 2>&1 &
  pids+=($!)

  eventually grep -qs "SPEECH OUTPUT" "$work/orca.debug" || die "Orca did not start speaking: $(tail -n3 "$work/orca.log")"
}

said() { grep -a 'SPEECH OUTPUT:' "$work/orca.debug" 2>/dev/null | sed "s/^.*SPEECH OUTPUT: '//; s/'[ ]*{.*$//"; }
spoken_lines() { said | wc -l; }
# Waits for an utterance matching the pattern after the first N utterances.
hears() { # N, extended regex
  local after=$1 pattern=$2
  for _ in $(seq 300); do
    said | tail -n +"$((after + 1))" | grep -qE "$pattern" && return 0
    sleep 0.1
  done
  return 1
}
last_heard() { said | tail -n 3 | tr '\n' '|'; }

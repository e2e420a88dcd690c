# Shared by the scripts that test the real program: checks and their count, waits on
# what the screen shows, an X server of the test's own, a second account, and the end
# of every process started (by its PID). The caller sets $work, a folder of its own.

checks=0
failures=0
pids=()
made_account=""
run_as=()

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
  echo "$((checks - failures)) passed, $((failures + 1)) failed"
  exit 1
}

summary() {
  echo "$((checks - failures)) passed, $failures failed"
  [ "$failures" = 0 ]
}

# Retries a command for up to 15 seconds: the program paints and closes dialogs in
# its own time, and a loaded machine must not turn that into a failure.
eventually() {
  for _ in $(seq 150); do "$@" && return 0; sleep 0.1; done
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

# Sets run_as to the prefix that runs a command under a system account of the
# test's own, made when missing; empty when the test does not run as root.
use_account() { # name
  [ "$(id -u)" = 0 ] || return 0
  if ! id "$1" >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin "$1"
    made_account=$1
  fi
  run_as=(setpriv --reuid="$(id -u "$1")" --regid="$(id -g "$1")" --clear-groups)
}

stop_all() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  # An account still running a process cannot be removed: wait for them to end.
  for pid in "${pids[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  if [ -n "$made_account" ]; then
    userdel "$made_account" 2>/dev/null || echo "note - could not remove the account $made_account"
  fi
  return 0
}

# The colour of one pixel of a screenshot, as "r,g,b".
pixel() { # image x y
  convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- | sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

#!/usr/bin/env bash
# The game on a Wayland session: a headless sway stands for the compositor and an
# Xvfb with twm for its XWayland. With X there the game must be an X client, so
# that minimising it shows the time left in its title; with Wayland alone it must
# still run; a platform the user names is respected.
# Usage: wayland.sh BINARY RECORD_FOLDER   (the folder the binary was built for)
set -euo pipefail

binary=$1
record=$2
work=$(mktemp -d)
chmod 0755 "$work"
pids=()
account=quorvela-sway
made_account=""
checks=0
failures=0

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "$made_account" ] && userdel "$account" 2>/dev/null || true
  rm -rf "$work" "$record"
}
trap cleanup EXIT

check() {
  local what=$1
  shift
  checks=$((checks + 1))
  if "$@"; then echo "ok   - $what"; else echo "FAIL - $what"; failures=$((failures + 1)); fi
}
die() {
  echo "FAIL - $*"
  echo "$((checks - failures)) passed, $((failures + 1)) failed"
  exit 1
}
eventually() {
  for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
  return 1
}

# XWayland's stand-in, with a window manager that can minimise.
Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
eventually test -s "$work/display" || die "Xvfb did not start"
x_display=":$(head -n1 "$work/display")"
printf '%s "fixed"\n' TitleFont ResizeFont MenuFont IconFont IconManagerFont >"$work/twmrc"
DISPLAY=$x_display twm -f "$work/twmrc" >"$work/twm.log" 2>&1 &
pids+=($!)

# The compositor refuses to run as root: under an account of the test's own then.
run_as=()
if [ "$(id -u)" = 0 ]; then
  if ! id "$account" >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin "$account"
    made_account=1
  fi
  run_as=(setpriv --reuid="$(id -u "$account")" --regid="$(id -g "$account")" --clear-groups)
fi
runtime=$work/sway-runtime
mkdir -m 0700 "$runtime"
[ "${#run_as[@]}" -gt 0 ] && chown "$account" "$runtime"
printf 'output HEADLESS-1 resolution 1280x800\n' >"$work/sway.conf"
"${run_as[@]}" env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless \
  WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
pids+=($!)
socket_of() { compgen -G "$runtime/$1" | head -n1; }
eventually socket_of 'wayland-*[0-9]' >/dev/null || die "sway did not start: $(tail -n3 "$work/sway.log")"
eventually socket_of 'sway-ipc.*.sock' >/dev/null || die "sway's control socket did not appear"
wayland=$(socket_of 'wayland-*[0-9]')
sway_socket=$(socket_of 'sway-ipc.*.sock')

start() { # environment for the game (NAME=value ...)
  env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work" \
    DBUS_SESSION_BUS_ADDRESS=disabled: QT_SCALE_FACTOR=1 "$@" "$binary" >>"$work/game.log" 2>&1 &
  game=$!
  pids+=("$game")
}
on_x() { DISPLAY=$x_display xdotool search --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n1 | grep .; }
on_wayland() { swaymsg -s "$sway_socket" -t get_tree 2>/dev/null | grep -q "\"pid\": $1,"; }
title_is_time() { DISPLAY=$x_display xdotool getwindowname "$1" | grep -qE '^00:(09|10):[0-5][0-9]$'; }

# A Wayland session with XWayland: an X client, with the minimised title.
start XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$wayland" DISPLAY="$x_display"
check "on a Wayland session with X, the game is an X client" eventually on_x "$game" '^Quorvela$'
export DISPLAY=$x_display
question=$(on_x "$game" '^Quorvela$' || true)
[ -n "$question" ] || die "the name question did not appear on X"
xdotool windowfocus --sync "$question" type --delay 20 Anna
for _ in 1 2 3 4 5 6 7 8; do
  box=""
  eventually on_x "$game" '^Quorvela$' >/dev/null && box=$(on_x "$game" '^Quorvela$')
  [ -n "$box" ] || die "a start-up box did not appear"
  xdotool windowfocus --sync "$box" key Return
  eventually bash -c "! DISPLAY=$x_display xdotool search --onlyvisible --pid $game --name '^Quorvela$' | grep -qx $box"
done
eventually on_x "$game" 'Quorvela anche con diverso denominatore' >/dev/null || die "the game window did not appear"
window=$(on_x "$game" 'Quorvela anche con diverso denominatore')
xdotool windowminimize "$window"
check "minimised, its title is the time left" eventually title_is_time "$window"
unset DISPLAY
kill "$game"

# Wayland alone: the game still runs, as a Wayland client.
start XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$wayland"
check "with Wayland alone, the game runs as a Wayland client" eventually on_wayland "$game"
kill "$game"

# The platform the user names is the one used.
start XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$wayland" DISPLAY="$x_display" QT_QPA_PLATFORM=wayland
check "QT_QPA_PLATFORM=wayland is respected" eventually on_wayland "$game"
check "... and nothing of it shows on X" bash -c "! DISPLAY=$x_display xdotool search --pid $game --name Quorvela | grep -q ."
kill "$game"

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" = 0 ]

#!/usr/bin/env bash
# The game on a Wayland session: a headless sway stands for the compositor and an
# Xvfb with twm for its XWayland. With X there the game must be an X client, so
# that minimising it shows the time left in its title; with Wayland alone it must
# still run; a platform the user names is respected.
# Usage: wayland.sh BINARY RECORD_FOLDER [PROGRAMS_FOLDER]   (the folders the binary, a
#   record's keeper, was built for: its record, and where it starts BINARY-game;
#   without PROGRAMS_FOLDER, BINARY is an installed game's keeper)
source "$(dirname "$0")/../shell/lib.sh"
open_test

binary=$1
record=$2
# An installed game (no PROGRAMS_FOLDER) is played where it is.
if [ -n "${3:-}" ]; then
  place_game "$binary" "$3"
  binary=$3/$(basename "$binary")
fi
at_exit rm -rf "$record"

# XWayland's stand-in, with a window manager that can minimise.
start_xvfb 1280x800
x_display=$DISPLAY
unset DISPLAY
printf '%s "fixed"\n' TitleFont ResizeFont MenuFont IconFont IconManagerFont >"$work/twmrc"
DISPLAY=$x_display twm -f "$work/twmrc" >"$work/twm.log" 2>&1 &
pids+=($!)

# The compositor refuses to run as root: under an account of the test's own then.
account=quorvela-sway-$$ # of this run alone
run_as=()
runtime=$work/sway-runtime
mkdir -m 0700 "$runtime"
if make_account "$account"; then
  read -ra run_as <<<"$(as_account "$account")"
  chown "$account" "$runtime"
fi
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
# The game is the process started or one it started (the record's keeper starts it).
on_x() { DISPLAY=$x_display visible "$1" "$2" | head -n1 | grep .; }
not_on_x() {
  local pid
  for pid in "$1" $(descendants "$1"); do
    DISPLAY=$x_display xdotool search --pid "$pid" --name Quorvela 2>/dev/null | grep -q . && return 1
  done
  return 0
}
on_wayland() {
  local tree pid
  tree=$(swaymsg -s "$sway_socket" -t get_tree 2>/dev/null)
  for pid in "$1" $(descendants "$1"); do grep -q "\"pid\": $pid," <<<"$tree" && return 0; done
  return 1
}
title_is_time() { DISPLAY=$x_display xdotool getwindowname "$1" | grep -qE '^00:(09|10):[0-5][0-9]$'; }

# A Wayland session with XWayland: an X client, with the minimised title.
start XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$wayland" DISPLAY="$x_display"
check "on a Wayland session with X, the game is an X client" eventually on_x "$game" '^Quorvela$'
export DISPLAY=$x_display
window=$(start_up "$game" Anna) || die "the start-up on X did not reach the game window"
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
check "... and nothing of it shows on X" not_on_x "$game"
kill "$game"

summary

#!/usr/bin/env bash
# The Debian package on a machine that has nothing else: built as the README builds
# it, installed with apt-get into a fresh minimal Debian 12 root, and the installed
# game started there under an X server of the test's own. Prints what the install
# added. Needs root (debootstrap, chroot, mounts); exits 77 (skipped) without it.
# Usage: cleaninstall.sh SOURCE_DIR WORK_DIR   (WORK_DIR inside the build tree)
set -euo pipefail
source_dir=$1
work=$2
[ "$(id -u)" = 0 ] || { echo "skipped: needs root"; exit 77; }

root=$work/root
mounts=()
mkdir -p "$work"
source "$(dirname "$0")/../e2e/lib.sh"

cleanup() {
  stop_all
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || true; done
  # The root stays in the build tree for a look after a failure; the next run makes it anew.
}
trap cleanup EXIT

mount_in_root() { # mount arguments..., target inside the root
  mount "$@"
  mounts+=("${*: -1}")
}

# The package, as the README builds it.
(cd "$source_dir" && cmake --preset package >/dev/null && cmake --build --preset package >/dev/null &&
  cd build-pkg && cpack >/dev/null)
deb=$(ls "$source_dir"/build-pkg/quorvela_*.deb)

# A fresh minimal Debian 12.
rm -rf "$root"
started=$SECONDS
debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >"$work/debootstrap.log" 2>&1 ||
  die "debootstrap failed: $(tail -n3 "$work/debootstrap.log")"
echo "note - minimal root made in $((SECONDS - started)) s"
installed() { chroot "$root" dpkg-query -W -f='${Installed-Size}\n'; }
packages_before=$(installed | wc -l)
kib_before=$(installed | awk '{ s += $1 } END { print s }')

cp "$deb" "$root/tmp/"
started=$SECONDS
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")" \
  >"$work/install.log" 2>&1 || die "apt-get install failed: $(tail -n3 "$work/install.log")"
packages_after=$(installed | wc -l)
kib_after=$(installed | awk '{ s += $1 } END { print s }')
echo "note - the install took $((SECONDS - started)) s and added $((packages_after - packages_before)) packages," \
     "$(( (kib_after - kib_before) / 1024 )) MB"
check "the record folder is made shared" test "$(stat -c %a "$root/var/games/quorvela")" = 777
# What Qt loads at run time and no library link names: the SVG engines of the
# pictures and pointers, the X11 and Wayland window systems.
plugins=$root/usr/lib/x86_64-linux-gnu/qt6/plugins
for plugin in iconengines/libqsvgicon.so imageformats/libqsvg.so platforms/libqxcb.so \
              platforms/libqwayland-generic.so; do
  check "the installation has Qt's $plugin" test -f "$plugins/$plugin"
done

# The installed game under our X server: its socket is mounted into the root.
start_xvfb 1024x768
mkdir -p "$root/tmp/.X11-unix"
mount_in_root --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mount_in_root -t proc proc "$root/proc"
chroot "$root" env -i DISPLAY="$DISPLAY" HOME=/root XDG_RUNTIME_DIR=/tmp LANG=C.UTF-8 \
  DBUS_SESSION_BUS_ADDRESS=disabled: /usr/bin/quorvela >"$work/game.log" 2>&1 &
game_pid=$!
pids+=("$game_pid")

window=$(start_up "$game_pid" Anna) || die "the start-up did not reach the game window: $(head -c 300 "$work/game.log")"
eval "$(xdotool getwindowgeometry --shell "$window")"

# The first problem below the menu bar, its answer boxes and all six menus.
shows_stripes() { import -window root "$work/clean.png" && stripes "$work/clean.png" "$X" "$Y"; }
told=$(eventually shows_stripes) || die "no stripes below the menu bar"
client_y=${told%% *}
check "numerator box is cyan at its place" test "$(pixel "$work/clean.png" $((X + 585)) $((client_y + 20)))" = "0,255,255"
check "denominator box is cyan at its place" test "$(pixel "$work/clean.png" $((X + 585)) $((client_y + 190)))" = "0,255,255"
# Six menus side by side: menus pushed off the bar would put the overflow button
# at its right end, where the bar must stay empty.
bar_height=$((client_y - Y))
dark_pixels() { # x width: the bar's pixels darker than its face in that strip
  convert "$work/clean.png" -crop "$2x${bar_height}+$((X + $1))+$Y" +repage -colorspace Gray -threshold 50% \
    -depth 8 txt:- | grep -c 'gray(0)' || true
}
check "the bar's right end is empty: no menu pushed off it" test "$(dark_pixels 669 60)" = 0
check "the last menu stands on the bar" test "$(dark_pixels 480 180)" -gt 20

# The pictures, as a pupil sees them: the face on "Nuovo calcolo" (its disabled,
# straight-mouthed one until an answer is judged), the no-entry sign on "Exit", and
# the window's icon. Each is drawn by Qt's SVG plugins, which only the package's
# dependencies bring.
check "a yellow face on Nuovo calcolo" has_colour "$work/clean.png" $((X + 288)) $((client_y + 336)) 121 50 "255,230,0"
check "a red no-entry sign on Exit" has_colour "$work/clean.png" $((X + 512)) $((client_y + 336)) 121 50 "220,0,0"
icon_sizes=$(xprop -id "$window" _NET_WM_ICON 2>/dev/null | grep -c 'Icon (' || true)
check "the window has its icon" test "$icon_sizes" -gt 0
check "Qt printed no warning about pictures or pointers" bash -c "! grep -iE 'cursor|pixmap|icon|svg|image' '$work/game.log'"
cp "$work/clean.png" "$work/../cleaninstall.png" 2>/dev/null || true

summary

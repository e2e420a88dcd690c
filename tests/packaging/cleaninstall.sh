#!/usr/bin/env bash
# The Debian package on a machine that has nothing else: built as the README builds
# it, installed with apt-get into a fresh minimal Debian 12 root, and the installed
# game played there by two pupils' accounts under an X server of the test's own:
# the first saves a record, the second tries to change the record with plain shell
# commands (all must fail), then saves a better one by playing. Prints what the
# install added. Needs root (debootstrap, chroot, mounts); exits 77 (skipped)
# without it.
# Usage: cleaninstall.sh SOURCE_DIR WORK_DIR   (WORK_DIR inside the build tree)
set -euo pipefail
# Every name in the record folder, hidden ones too, in one order.
shopt -s dotglob
export LC_ALL=C
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
folder=$root/var/games/quorvela
helper=/usr/libexec/quorvela/quorvela-record
modes() { stat -c '%U:%G %a %n' "$folder" "$folder"/* | sed "s|$folder|F|"; }
protected_modes=$'root:games 755 F\nroot:games 660 F/qvlmarc.journal\nroot:games 664 F/qvlmarc.txt\nroot:games 664 F/qvlmarc1.txt'
check "the record folder, its files and journal are root's and the games group's" test "$(modes)" = "$protected_modes"
check "the record helper is set-group-id games" test "$(stat -c '%U:%G %a' "$root$helper")" = "root:games 2755"
setuid_files() {
  chroot "$root" dpkg -L quorvela | while read -r f; do [ -u "$root$f" ] && echo "$f"; done
  return 0
}
check "nothing installed is set-user-id" test -z "$(setuid_files)"
check "dpkg --verify finds nothing changed" test -z "$(chroot "$root" dpkg --verify quorvela 2>&1)"
# What Qt loads at run time and no library link names: the SVG engines of the
# pictures and pointers, the X11 and Wayland window systems.
plugins=$root/usr/lib/x86_64-linux-gnu/qt6/plugins
for plugin in iconengines/libqsvgicon.so imageformats/libqsvg.so platforms/libqxcb.so \
              platforms/libqwayland-generic.so; do
  check "the installation has Qt's $plugin" test -f "$plugins/$plugin"
done

# Two pupils' accounts, in their own groups only.
for pupil in alunno1 alunno2; do
  chroot "$root" useradd --create-home --shell /bin/sh "$pupil"
done
as_pupil() { # account, then a command: run by that account inside the root
  local uid gid
  uid=$(chroot "$root" id -u "$1")
  gid=$(chroot "$root" id -g "$1")
  shift
  chroot --userspec="$uid:$gid" --groups="$gid" "$root" "$@"
}

# The installed game under our X server: its socket is mounted into the root.
start_xvfb 1024x768
mkdir -p "$root/tmp/.X11-unix"
mount_in_root --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mount_in_root -t proc proc "$root/proc"
start_game() { # account: starts the installed game as that account, sets game_pid
  install -d -m 0700 -o "$(chroot "$root" id -u "$1")" "$root/tmp/run-$1"
  as_pupil "$1" env -i DISPLAY="$DISPLAY" HOME="/home/$1" XDG_RUNTIME_DIR="/tmp/run-$1" LANG=C.UTF-8 \
    DBUS_SESSION_BUS_ADDRESS=disabled: /usr/bin/quorvela >"$work/game-$1.log" 2>&1 &
  game_pid=$!
  pids+=("$game_pid")
}
start_game alunno1
window=$(start_up "$game_pid" Anna) || die "the start-up did not reach the game window: $(head -c 300 "$work/game-alunno1.log")"
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
check "Qt printed no warning about pictures or pointers" bash -c "! grep -iE 'cursor|pixmap|icon|svg|image' '$work/game-alunno1.log'"
cp "$work/clean.png" "$work/../cleaninstall.png" 2>/dev/null || true

record_holds() { # score name
  printf '%s\r\n' "$1" | cmp -s - "$folder/qvlmarc.txt" && printf '%s\r\n' "$2" | cmp -s - "$folder/qvlmarc1.txt"
}
game_ended() { eventually bash -c "! kill -0 $game_pid 2>/dev/null"; }

# The first pupil saves a record by playing.
score_in "$X" "$Y" 1 "$work"
leave_with_yes "$game_pid" congratulated || die "Anna's leaving did not go through its boxes"
check "Anna's game ended" game_ended
check "Anna's record of 1 is saved" record_holds 1 Anna
check "the record is as protected as at installation" test "$(modes)" = "$protected_modes"

# The second pupil tries to change the record without playing: each must fail.
before=$(cat "$folder/qvlmarc.txt" "$folder/qvlmarc1.txt" | od -c)
fails_as_pupil() { ! as_pupil alunno2 sh -c "$1" >/dev/null 2>&1; }
# The attacks really run as the pupil, who can write elsewhere.
check "a pupil can write in their own home" as_pupil alunno2 sh -c "printf x > /home/alunno2/x"
attack() { # description, then the shell command the pupil runs
  check "a pupil cannot $1" fails_as_pupil "$2"
}
attack "forge the score" "printf '9999\r\n' > /var/games/quorvela/qvlmarc.txt"
attack "forge the name" "printf 'Nessuno\r\n' > /var/games/quorvela/qvlmarc1.txt"
attack "empty the score" "truncate -s 0 /var/games/quorvela/qvlmarc.txt"
attack "delete the score" "rm -f /var/games/quorvela/qvlmarc.txt"
attack "rename the name file" "mv /var/games/quorvela/qvlmarc1.txt /var/games/quorvela/x"
attack "put a folder in the score's place" "rm -rf /var/games/quorvela/qvlmarc.txt; mkdir /var/games/quorvela/qvlmarc.txt"
attack "add a file to the folder" "touch /var/games/quorvela/nuovo"
attack "plant a link in the folder" "ln -s /etc/passwd /var/games/quorvela/link"
attack "take the permissions away" "chmod 000 /var/games/quorvela/qvlmarc.txt"
attack "write the journal" "printf x >> /var/games/quorvela/qvlmarc.journal"
attack "hold the record's lock" "flock -n /var/games/quorvela/qvlmarc.journal true"
attack "make the helper save a score" "$helper save 9999 Nessuno | grep -qx saved"
check "the helper refuses whoever is not the game" test "$(as_pupil alunno2 "$helper" save 9999 Nessuno)" = refused
check "the record is unchanged after every attack" test "$(cat "$folder/qvlmarc.txt" "$folder/qvlmarc1.txt" | od -c)" = "$before"
check "the folder still holds the record files and the journal alone" test "$(modes)" = "$protected_modes"
# A lock on the folder itself, which any reader can take, blocks nothing.
as_pupil alunno2 flock /var/games/quorvela sleep 120 &
pids+=($!)

# Then the second pupil saves a better record by playing.
start_game alunno2
window=$(start_up "$game_pid" Bruno) || die "Bruno's start-up did not reach the game window"
eval "$(xdotool getwindowgeometry --shell "$window")"
score_in "$X" "$Y" 2 "$work"
leave_with_yes "$game_pid" congratulated || die "Bruno's leaving did not go through its boxes"
check "Bruno's game ended" game_ended
check "Bruno's 2 replaced Anna's record" record_holds 2 Bruno
check "the record is as protected as at installation" test "$(modes)" = "$protected_modes"

summary

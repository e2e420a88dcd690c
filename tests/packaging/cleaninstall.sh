#!/usr/bin/env bash
# The Debian package as a distribution makes it and a school installs it: the
# source package built twice with dpkg-buildpackage in a fresh minimal Debian 12
# root that holds only build-essential and the Build-Depends (the two .deb files
# must be the same, and lintian must find nothing), then installed with apt-get
# into another fresh root over an older version's record folder, where the
# installed game is played by two pupils' accounts under an X server of the
# test's own, attacked with plain shell commands (all must fail), and tested with
# its own autopkgtest. Prints what the install added. Needs root (debootstrap,
# chroot, mounts); exits 77 (skipped) without it.
# Usage: cleaninstall.sh SOURCE_DIR WORK_DIR   (WORK_DIR inside the build tree)
source "$(dirname "$0")/../shell/lib.sh"
needs_root
# The roots stay in the build tree for a look after a failure; the next run makes them anew.
open_test "$2"
# Every name in the record folder, hidden ones too, in one order.
shopt -s dotglob
export LC_ALL=C
source_dir=$1

base=$work/base
builder=$work/build-root
root=$work/root
at_exit unmount_all

# A fresh minimal Debian 12, copied for building and for installing.
rm -rf "$base" "$builder" "$root"
started=$SECONDS
debootstrap --variant=minbase bookworm "$base" http://deb.debian.org/debian >"$work/debootstrap.log" 2>&1 ||
  die "debootstrap failed: $(tail -n3 "$work/debootstrap.log")"
echo "note - minimal root made in $((SECONDS - started)) s"
cp -a "$base" "$builder"
cp -a "$base" "$root"

# The source package, built as Debian's build daemons build it: build-essential
# and the Build-Depends alone, then dpkg-buildpackage, twice, in two folders.
mount_in_root -t proc proc "$builder/proc"
started=$SECONDS
mkdir -p "$builder/build/first/quorvela" "$builder/build/second/elsewhere/quorvela"
(cd "$source_dir" && git ls-files -co --exclude-standard -z | tar --null -cf - -T -) |
  tar -xf - -C "$builder/build/first/quorvela"
cp -a "$builder/build/first/quorvela/." "$builder/build/second/elsewhere/quorvela/"
chroot "$builder" sh -c 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends build-essential &&
  DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq --no-install-recommends /build/first/quorvela' \
  >"$work/build-deps.log" 2>&1 || die "the Build-Depends did not install: $(tail -n3 "$work/build-deps.log")"
echo "note - build-essential and the Build-Depends installed in $((SECONDS - started)) s"
for folder in /build/first/quorvela /build/second/elsewhere/quorvela; do
  started=$SECONDS
  chroot "$builder" sh -c "cd $folder && dpkg-buildpackage -us -uc -b" >"$work/build-${folder//\//_}.log" 2>&1 ||
    die "dpkg-buildpackage failed in $folder: $(grep -m3 -iE 'error|fail' "$work/build-${folder//\//_}.log")"
  echo "note - dpkg-buildpackage took $((SECONDS - started)) s in $folder"
  sleep 1 # a later second for the second build
done
first=$(ls "$builder"/build/first/quorvela_*.deb | grep -v dbgsym)
second=$(ls "$builder"/build/second/elsewhere/quorvela_*.deb | grep -v dbgsym)
if ! check "two builds in two folders at two times make the same package" cmp -s "$first" "$second"; then
  diffoscope --text "$work/diffoscope.txt" "$first" "$second" >/dev/null 2>&1 || true
  echo "note - what differs: $(head -c 2000 "$work/diffoscope.txt")"
fi
deb=$first
check "lintian finds nothing on the package (overrides carry their reasons)" \
  lintian --fail-on error,warning,info,pedantic -I -E --pedantic "${deb%_*.deb}"_*.changes
contents=$(dpkg-deb -c "$deb")
for path in usr/games/quorvela usr/libexec/quorvela/quorvela-game usr/libexec/quorvela/quorvela-record-setup \
            usr/lib/tmpfiles.d/quorvela.conf usr/share/applications/invalid.quorvela.quorvela.desktop \
            usr/share/man/man6/quorvela.6.gz; do
  check "the package holds $path" grep -q "\./$path\$" <<<"$contents"
done
check "the package ships the record's keeper set-group-id games" \
  grep -q '^-rwxr-sr-x root/games .* \./usr/games/quorvela$' <<<"$contents"
check "the package ships the game readable by root alone" \
  grep -q '^-rwx--x--x root/root .* \./usr/libexec/quorvela/quorvela-game$' <<<"$contents"
check "the package has no record helper to start by hand" \
  bash -c "! grep -q 'quorvela-record\$' <<<'$contents'"
check "the maintainer scripts use no dpkg-statoverride" \
  bash -c "! dpkg-deb --ctrl-tarfile '$deb' | tar -xOf - | grep -q statoverride"

installed() { chroot "$root" dpkg-query -W -f='${Installed-Size}\n'; }
packages_before=$(installed | wc -l)
kib_before=$(installed | awk '{ s += $1 } END { print s }')

# Two pupils' accounts, in their own groups only.
for pupil in alunno1 alunno2; do
  chroot "$root" useradd --create-home --shell /bin/sh "$pupil"
done

# The record folder as an older version left it, writable by every account, and a
# pupil's traps laid in it before the teacher installs this version over it: a
# second name for a record file in their home, links named as anything the
# setup might write that point at root's files, a descriptor kept open.
folder=$root/var/games/quorvela
mkdir -p -m 0755 "$root/var/games"
mkdir -m 0777 "$folder"
# Root's files that the install itself leaves alone, one only root may read.
printf 'segreto\n' >"$root/etc/quorvela-test-secret"
chmod 0600 "$root/etc/quorvela-test-secret"
root_files() { for f in quorvela-test-secret hostname; do stat -c '%U:%G %a %s' "$root/etc/$f"; md5sum <"$root/etc/$f"; done; }
root_before=$(root_files)
as_pupil alunno2 sh -c '
  cd /var/games/quorvela && printf "7\r\n" > ${score_file} && printf "Zeno\r\n" > ${name_file} &&
  ln ${score_file} /home/alunno2/mine &&
  ln -s /etc/quorvela-test-secret ${score_file}.own && ln -s /etc/hostname ${name_file}.own &&
  ln -s /etc/quorvela-test-secret ${journal_file} && ln -s /etc/hostname ${spare}${score_file} &&
  ln -s /etc/quorvela-test-secret .quorvela.new-1-0 && mkdir -p a/b/c'
as_pupil alunno2 sh -c 'exec 3<>/var/games/quorvela/${score_file}
  while [ ! -e /tmp/go ]; do sleep 0.1; done; printf "999\r\n" >&3' &
writer=$!
pids+=("$writer")

cp "$deb" "$root/tmp/"
started=$SECONDS
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")" \
  >"$work/install.log" 2>&1 || die "apt-get install failed: $(tail -n3 "$work/install.log")"
packages_after=$(installed | wc -l)
kib_after=$(installed | awk '{ s += $1 } END { print s }')
echo "note - the install took $((SECONDS - started)) s and added $((packages_after - packages_before)) packages," \
     "$(( (kib_after - kib_before) / 1024 )) MB"
keeper=/usr/games/quorvela
game=/usr/libexec/quorvela/quorvela-game
modes() { stat -c '%U:%G %a %h %n' "$folder" "$folder"/* | sed "s|$folder|F|"; }
protected_modes="root:games 775 2 F
root:games 660 1 F/${spare}${journal_file}
root:games 664 1 F/${spare}${score_file}
root:games 664 1 F/${spare}${name_file}
root:games 660 1 F/${journal_file}
root:games 664 1 F/${score_file}
root:games 664 1 F/${name_file}"
check "the record folder, its files, journal and spares are root's and the games group's" test "$(modes)" = "$protected_modes"
check "the upgrade wrote none of root's files" test "$(root_files)" = "$root_before"
check "the older record is kept" test "$(cat "$folder/${score_file}" "$folder/${name_file}")" = $'7\r\nZeno\r'
touch "$root/tmp/go"
check "the pupil's descriptor, opened before the upgrade, wrote only its own old file" \
  eventually bash -c "! kill -0 $writer 2>/dev/null"
as_pupil alunno2 sh -c 'printf "999\r\n" > /home/alunno2/mine'
check "neither the descriptor nor the pupil's second name reaches the record" \
  test "$(cat "$folder/${score_file}")" = $'7\r'
# The teacher resets the record as doc/record.md says.
truncate -s 0 "$folder/$score_file" "$folder/$name_file"
check "the record's keeper is set-group-id games" test "$(stat -c '%U:%G %a' "$root$keeper")" = "root:games 2755"
check "the game is readable by root alone" test "$(stat -c '%U:%G %a' "$root$game")" = "root:root 711"
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

# The installed game under our X server: its socket is mounted into the root.
start_xvfb 1024x768
mkdir -p "$root/tmp/.X11-unix"
mount_in_root --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mount_in_root -t proc proc "$root/proc"
start_game alunno1
window=$(start_up "$game_pid" Anna) || die "the start-up did not reach the game window: $(head -c 300 "$work/game-alunno1.log")"
eval "$(xdotool getwindowgeometry --shell "$window")"

# The first problem below the menu bar, its answer boxes and all six menus.
told=$(eventually shows_stripes_at "$work/clean.png" "$X" "$Y") || die "no stripes below the menu bar"
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
  printf '%s\r\n' "$1" | cmp -s - "$folder/${score_file}" && printf '%s\r\n' "$2" | cmp -s - "$folder/${name_file}"
}
game_ended() { eventually bash -c "! kill -0 $game_pid 2>/dev/null"; }

# The first pupil saves a record by playing.
score_in "$X" "$Y" 1 "$work"
leave_with_yes "$game_pid" congratulated || die "Anna's leaving did not go through its boxes"
check "Anna's game ended" game_ended
check "Anna's record of 1 is saved" record_holds 1 Anna
check "the record is as protected as at installation" test "$(modes)" = "$protected_modes"

# The second pupil tries to change the record without playing: each must fail.
before=$(cat "$folder/${score_file}" "$folder/${name_file}" | od -c)
fails_as_pupil() { ! as_pupil alunno2 sh -c "$1" >/dev/null 2>&1; }
# The attacks really run as the pupil, who can write elsewhere.
check "a pupil can write in their own home" as_pupil alunno2 sh -c "printf x > /home/alunno2/x"
attack() { # description, then the shell command the pupil runs
  check "a pupil cannot $1" fails_as_pupil "$2"
}
attack "forge the score" "printf '9999\r\n' > /var/games/quorvela/${score_file}"
attack "forge the name" "printf 'Nessuno\r\n' > /var/games/quorvela/${name_file}"
attack "empty the score" "truncate -s 0 /var/games/quorvela/${score_file}"
attack "delete the score" "rm -f /var/games/quorvela/${score_file}"
attack "rename the name file" "mv /var/games/quorvela/${name_file} /var/games/quorvela/x"
attack "put a folder in the score's place" "rm -rf /var/games/quorvela/${score_file}; mkdir /var/games/quorvela/${score_file}"
attack "add a file to the folder" "touch /var/games/quorvela/nuovo"
attack "plant a link in the folder" "ln -s /etc/passwd /var/games/quorvela/link"
attack "take the permissions away" "chmod 000 /var/games/quorvela/${score_file}"
attack "write the journal" "printf x >> /var/games/quorvela/${journal_file}"
attack "hold the record's lock" "flock -n /var/games/quorvela/${journal_file} true"
# A helper started by hand, then the game: there is no helper to start, and the
# keeper serves the game it started alone.
attack "save through a helper started by hand" "/usr/libexec/quorvela/quorvela-record save 31000 X"
attack "read the game's program" "cat $game > /home/alunno2/game"
check "the record is unchanged after every attack" test "$(cat "$folder/${score_file}" "$folder/${name_file}" | od -c)" = "$before"
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

# Plays a whole game as one account: start-up, some right answers, leaving with
# Sì and the box that follows. Fails when a step does not come.
play_game() { # account name right-answers [VARIABLE=value...]
  local account=$1 name=$2 right=$3
  shift 3
  start_game "$account" "$@"
  window=$(start_up "$game_pid" "$name") || return 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$right" = 0 ] || score_in "$X" "$Y" "$right" "$work"
  leave_with_yes "$game_pid" box && game_ended
}

# The teacher deletes every record file: the next game starts, shows no record,
# and saves, each file again root's (a spare took its place).
rm "$folder/${score_file}" "$folder/${name_file}" "$folder/${journal_file}"
check "a game after the record files were deleted starts and saves" play_game alunno1 Carla 1
check "Carla's 1 is the record" record_holds 1 Carla
spent_modes="root:games 775 2 F
root:games 660 1 F/${journal_file}
root:games 664 1 F/${score_file}
root:games 664 1 F/${name_file}"
check "the files are root's again, from their spares" test "$(modes)" = "$spent_modes"

# The teacher deletes the name file again, its spare spent: a save is whole or
# nothing. The game that cannot save ends with the record as it was; the setup
# makes the folder whole again.
rm "$folder/${name_file}"
check "with a record file and its spare gone, a game plays and leaves with its box" \
  play_game alunno1 Carla 2
check "... and the record is as it was, nothing half saved" \
  test "$(cat "$folder/${score_file}")$(ls "$folder")$(wc -c <"$folder/${journal_file}")" = "1"$'\r'"${journal_file}"$'\n'"${score_file}0"
chroot "$root" /usr/libexec/quorvela/quorvela-record-setup /var/games/quorvela
check "the setup makes the folder whole again" test "$(modes)" = "$protected_modes"

# A score of 0 beats a record whose leading number is negative.
printf -- '-5\r\n' >"$folder/${score_file}"
check "a game of no right answers leaves with its box" play_game alunno2 Dario 0
check "Dario's 0 replaced the record of -5" record_holds 0 Dario

# The record's lock held on (a helper its pupil stopped is one way): games still
# start, and leaving tells that the record could not be saved, without hanging.
exec 8<"$folder/${journal_file}"
flock 8
started=$SECONDS
check "with the lock held, a game starts, plays and leaves" play_game alunno1 Elena 1
check "it took less than a minute" test $((SECONDS - started)) -lt 60
check "the record stays Dario's 0" record_holds 0 Dario
exec 8<&-

# A pupil's own library, which leaves a mark wherever it is loaded: preloaded,
# and named in the pupil's GTK settings as a module (GTK loads one from any
# path), on a GNOME desktop with Qt's GTK theme installed.
cc -shared -fPIC -o "$root/home/alunno2/mark.so" -x c - <<'C'
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
__attribute__((constructor)) static void mark(void)
{
    char path[64];
    snprintf(path, sizeof path, "/tmp/marked-%d", (int)getpid());
    close(open(path, O_CREAT | O_WRONLY, 0666));
}
void gtk_module_init(int *argc, char ***argv) { (void)argc; (void)argv; }
C
mkdir -p "$root/home/alunno2/.config/gtk-3.0"
printf '[Settings]\ngtk-modules=/home/alunno2/mark.so\n' >"$root/home/alunno2/.config/gtk-3.0/settings.ini"
chroot "$root" chown -R alunno2: /home/alunno2
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  qt6-gtk-platformtheme gdb >>"$work/install.log" 2>&1 || die "Qt's GTK theme and gdb did not install"
marks() { compgen -G "$root/tmp/marked-*" | wc -l; }
# The game without its keeper loads it both ways: the tries are real.
install -d -m 0700 -o "$(chroot "$root" id -u alunno2)" "$root/tmp/run-alunno2"
bare_game_marks() { # VARIABLE=value...: the game run alone as the pupil; the marks it left
  rm -f "$root"/tmp/marked-*
  as_pupil alunno2 env -i DISPLAY="$DISPLAY" HOME=/home/alunno2 XDG_RUNTIME_DIR=/tmp/run-alunno2 LANG=C.UTF-8 \
    DBUS_SESSION_BUS_ADDRESS=disabled: "$@" "$game" >>"$work/bare-game.log" 2>&1 &
  local bare=$!
  pids+=("$bare")
  wait_window "$bare" '^Quorvela$' >/dev/null || true
  kill "$bare" 2>/dev/null || true
  marks
}
check "the game run without its keeper loads a preloaded library" \
  test "$(bare_game_marks LD_PRELOAD=/home/alunno2/mark.so)" = 1
check "the game run without its keeper on GNOME loads the GTK module of the pupil's settings" \
  test "$(bare_game_marks XDG_CURRENT_DESKTOP=GNOME)" = 1
rm -f "$root"/tmp/marked-*
check "through its keeper, with that library preloaded and named a GTK module, a game plays and saves" \
  play_game alunno2 Furio 1 XDG_CURRENT_DESKTOP=GNOME LD_PRELOAD=/home/alunno2/mark.so
check "... and the library was loaded nowhere" test "$(marks)" = 0
check "Furio's 1 is the record" record_holds 1 Furio

# A debugger of the pupil's: it attaches to the pupil's own programs, not to the
# game that the keeper started.
running() { # started pid, program: the pid running that program among what it started
  local pid
  for pid in $(descendants "$1"); do
    [ "$(readlink "/proc/$pid/exe")" != "$root$2" ] || { echo "$pid"; return 0; }
  done
  return 1
}
as_pupil alunno2 sleep 60 &
pids+=($!)
sleeper=$(eventually running $! /usr/bin/sleep)
gdb_attaches() { # pid: gdb names the process it attached to, and <null> where it could not
  as_pupil alunno2 gdb -p "$1" -batch -ex 'info inferiors' 2>&1 | grep -Eq "^\* 1 +process $1 "
}
gdb_refused() { ! gdb_attaches "$1"; }
check "a pupil's gdb -p attaches to the pupil's own program" eventually gdb_attaches "$sleeper"
start_game alunno2
wait_window "$game_pid" '^Quorvela$' >/dev/null || die "the game did not start for the debugger"
game_child=$(eventually running "$game_pid" "$game" || true)
check "the game runs as the keeper's child" test -n "$game_child"
check "a pupil's gdb -p cannot attach to the game" gdb_refused "$game_child"
attack "read the game's memory" "head -c 16 /proc/$game_child/mem"
attack "reach the keeper's socket through the game's descriptors" "ls -l /proc/$game_child/fd/3"
kill "$(running "$game_pid" "$keeper" || echo "$game_pid")"
check "the game ends with its keeper" eventually bash -c "! kill -0 $game_child 2>/dev/null"

# A file-size limit set on the keeper: a save is whole, or nothing.
check "a game under a soft file-size limit of one byte plays and leaves" \
  play_game alunno1 Hugo 2 prlimit --fsize=1:unlimited
check "... and saves Hugo's 2 whole" record_holds 2 Hugo
check "a game under a hard file-size limit of one byte plays and leaves, told it could not save" \
  play_game alunno2 Ines 3 prlimit --fsize=1:1
check "... and the record stays Hugo's 2, whole" record_holds 2 Hugo

# The package upgraded while a pupil plays: that game's record is saved.
start_game alunno1
window=$(start_up "$game_pid" Gina) || die "Gina's start-up did not reach the game window"
chroot "$root" env DEBIAN_FRONTEND=noninteractive dpkg -i "/tmp/$(basename "$deb")" >>"$work/install.log" 2>&1 ||
  die "the reinstall failed: $(tail -n3 "$work/install.log")"
game_program() { for pid in "$game_pid" $(descendants "$game_pid"); do readlink "/proc/$pid/exe"; done; }
check "the running game's program was replaced on disk" \
  bash -c "grep -q '$game (deleted)\$' <<<'$(game_program)'"
eval "$(xdotool getwindowgeometry --shell "$window")"
score_in "$X" "$Y" 3 "$work"
leave_with_yes "$game_pid" congratulated || die "Gina's leaving did not go through its boxes"
check "Gina's game ended" game_ended
check "Gina's 3 is saved by the replaced game" record_holds 3 Gina
check "the record is as protected as at installation" test "$(modes)" = "$protected_modes"

# An older version's folder, which every account could write, where a pupil wrote
# a record no one could beat: the setup does not carry it over.
rm -rf "$folder"
mkdir -m 0777 "$folder"
as_pupil alunno2 sh -c 'printf "99999\r\n" > /var/games/quorvela/${score_file}; printf "Zeno\r\n" > /var/games/quorvela/${name_file}'
chroot "$root" /usr/libexec/quorvela/quorvela-record-setup /var/games/quorvela
check "a record no one could beat, from an older version's folder, is not carried over" \
  test "$(cat "$folder/${score_file}" "$folder/${name_file}")" = ""
check "the folder is as protected as at installation" test "$(modes)" = "$protected_modes"

# The package's own autopkgtest, as Debian's CI runs it, on the built package in this root.
mkdir -p "$root/build/quorvela"
tar -cf - -C "$builder/build/first/quorvela" . | tar -xf - -C "$root/build/quorvela"
cp "$deb" "$root/build/"
mount_in_root --bind /dev/pts "$root/dev/pts"
started=$SECONDS
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends autopkgtest \
  >"$work/autopkgtest-install.log" 2>&1 || die "autopkgtest did not install: $(tail -n3 "$work/autopkgtest-install.log")"
check "the package's autopkgtest passes" \
  chroot "$root" autopkgtest "/build/$(basename "$deb")" /build/quorvela -- null >"$work/autopkgtest.log" 2>&1
echo "note - autopkgtest took $((SECONDS - started)) s: $(grep -E '^play ' "$work/autopkgtest.log" | tail -n1)"

summary

#!/usr/bin/env bash
# The game for arm64, the system of the Raspberry Pi (Debian's arm64 port), built and
# proven on an amd64 Debian 12 machine:
#   1. the source package cross-built for arm64 (and built for amd64, to compare) in a
#      fresh minimal Debian 12 root holding build-essential, the arm64 cross compiler
#      and the Build-Depends alone; the unit suites cross-built beside it;
#   2. a fresh arm64 Debian 12 root, run through qemu-user registered with the
#      kernel's binfmt_misc;
#   3. there: every unit suite run, the .deb installed with apt-get, the installed
#      game played under an X server of the script's own by a pupil's account, who
#      saves a record through the installed keeper and then fails to forge it, a
#      screenshot taken, and the package's autopkgtest run.
# The arm64 package is left in WORK_DIR/out. Needs root (debootstrap, chroot, mounts,
# binfmt_misc). Everything it mounted, registered or started ends with it.
# Usage: sudo packaging/arm64/build.sh [WORK_DIR]   (default: build-arm64)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
source "$source_dir/tests/shell/lib.sh"
needs_root
open_test "${1:-$source_dir/build-arm64}"
export LC_ALL=C
# The game runs emulated, many times slower than on a Pi: two minutes for what
# takes a second.
patience=1200
started_all=$SECONDS
"$source_dir/.ci/setup" --arm64 >"$work/setup.log" 2>&1 || die "the host's tools did not install: $(tail -n3 "$work/setup.log")"

binfmt=/proc/sys/fs/binfmt_misc
entry=quorvela-aarch64
mounted_binfmt=""
undo_all() {
  unmount_all
  [ ! -e "$binfmt/$entry" ] || echo -1 >"$binfmt/$entry"
  [ -z "$mounted_binfmt" ] || umount "$binfmt"
}
at_exit undo_all

# --- arm64 programs run through qemu-user ----------------------------------------
# The emulator from bookworm-backports, unpacked into the work folder (the machine's
# packages stay as they are): bookworm's own qemu 7.2 lacks openat2, which the
# record's setup opens every name of an old folder with (a real Pi's kernel has it).
qemu=$work/qemu
if [ ! -x "$qemu/usr/bin/qemu-aarch64" ]; then
  apt_dir=$work/apt
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/debs"
  echo "deb http://deb.debian.org/debian bookworm-backports main" >"$apt_dir/sources.list"
  apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
            -o "Dir::State::Lists=$apt_dir/lists" -o APT::Sandbox::User=root)
  (apt-get -qq "${apt_opts[@]}" update && cd "$apt_dir/debs" && apt-get -qq "${apt_opts[@]}" download qemu-user/bookworm-backports) \
    >"$work/qemu.log" 2>&1 || die "qemu-user from bookworm-backports did not download: $(tail -n3 "$work/qemu.log")"
  dpkg-deb -x "$apt_dir"/debs/qemu-user_*.deb "$qemu"
fi
echo "note - the emulator: $("$qemu/usr/bin/qemu-aarch64" --version | head -n1)"
# Its own registration lacks two flags the installed game needs: C, so that the
# set-group-id keeper gets its group (and O, which C implies, so that the game,
# readable by root alone, can be run at all), and F, so that the emulator is found
# inside a root. A registration of the script's own, tried first by the kernel as
# the newest, lives as long as the script.
if [ ! -e "$binfmt/register" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt"
  mounted_binfmt=yes
fi
[ ! -e "$binfmt/$entry" ] || echo -1 >"$binfmt/$entry" # left by a run that was killed
IFS=: read -r _ _ _ _ magic mask _ <"$qemu/usr/share/qemu/binfmt.d/qemu-aarch64.conf"
printf ':%s:M:0:%s:%s:%s:OCF' "$entry" "$magic" "$mask" "$qemu/usr/bin/qemu-aarch64" >"$binfmt/register"
require "arm64 programs run through qemu-user" grep -q '^flags: OCF$' "$binfmt/$entry"

# --- two fresh roots: the builder (amd64) and the Pi's (arm64) ----------------------
builder=$work/builder
root=$work/root
rm -rf "$builder" "$root" "$work/out"
mkdir -p "$work/out"
started=$SECONDS
debootstrap --variant=minbase --arch=arm64 bookworm "$root" http://deb.debian.org/debian >"$work/debootstrap-arm64.log" 2>&1 &
arm_root=$!
pids+=("$arm_root")
debootstrap --variant=minbase bookworm "$builder" http://deb.debian.org/debian >"$work/debootstrap-amd64.log" 2>&1 ||
  die "debootstrap failed: $(tail -n3 "$work/debootstrap-amd64.log")"
echo "note - the minimal amd64 root made in $((SECONDS - started)) s"

# --- the package, cross-built ------------------------------------------------------
mount_in_root -t proc proc "$builder/proc"
mkdir -p "$builder/build/arm64/quorvela" "$builder/build/amd64/quorvela"
(cd "$source_dir" && git ls-files -co --exclude-standard -z | tar --null -cf - -T -) |
  tar -xf - -C "$builder/build/arm64/quorvela"
cp -a "$builder/build/arm64/quorvela/." "$builder/build/amd64/quorvela/"
started=$SECONDS
chroot "$builder" sh -c 'dpkg --add-architecture arm64 && apt-get update -qq &&
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends build-essential crossbuild-essential-arm64 &&
  DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq --no-install-recommends -aarm64 /build/arm64/quorvela &&
  DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq --no-install-recommends /build/amd64/quorvela' \
  >"$work/build-deps.log" 2>&1 || die "the Build-Depends did not install: $(tail -n3 "$work/build-deps.log")"
echo "note - the cross compiler and the Build-Depends of both installed in $((SECONDS - started)) s"
export DEB_BUILD_OPTIONS=parallel=2
started=$SECONDS
chroot "$builder" sh -c 'cd /build/arm64/quorvela && dpkg-buildpackage -aarm64 -us -uc -b' >"$work/build-arm64.log" 2>&1 ||
  die "the arm64 package did not build: $(grep -m3 -iE 'error|fail' "$work/build-arm64.log")"
echo "note - dpkg-buildpackage -aarm64 took $((SECONDS - started)) s"
deb=$(ls "$builder"/build/arm64/quorvela_*_arm64.deb)
check "the package is for arm64" test "$(dpkg-deb -f "$deb" Architecture)" = arm64
check "its keeper is an arm64 program" \
  bash -c "dpkg-deb --fsys-tarfile '$deb' | tar -xOf - ./usr/games/quorvela | file - | grep -q 'ARM aarch64'"
contents=$(dpkg-deb -c "$deb")
check "its keeper is set-group-id games" grep -q '^-rwxr-sr-x root/games .* \./usr/games/quorvela$' <<<"$contents"
cp "$deb" "$work/out/"
started=$SECONDS
chroot "$builder" sh -c 'cd /build/amd64/quorvela && dpkg-buildpackage -us -uc -b' >"$work/build-amd64.log" 2>&1 ||
  die "the amd64 package did not build: $(grep -m3 -iE 'error|fail' "$work/build-amd64.log")"
echo "note - the amd64 package, for comparison, took $((SECONDS - started)) s"
amd64_deb=$(ls "$builder"/build/amd64/quorvela_*_amd64.deb)
echo "note - the .deb is $(stat -c %s "$deb") bytes on arm64, $(stat -c %s "$amd64_deb") on amd64"

# The unit suites, cross-built as the package is, with the test suite on.
started=$SECONDS
chroot "$builder" sh -c 'cd /build/arm64/quorvela &&
  dpkg-architecture -aarm64 -c dh_auto_configure --builddirectory=obj-tests -- -DQUORVELA_BUILD_TESTS=ON &&
  dpkg-architecture -aarm64 -c dh_auto_build --builddirectory=obj-tests' >"$work/build-tests.log" 2>&1 ||
  die "the unit suites did not build for arm64: $(grep -m3 -iE 'error|fail' "$work/build-tests.log")"
echo "note - the unit suites cross-built in $((SECONDS - started)) s"

# --- the arm64 root --------------------------------------------------------------
wait "$arm_root" || die "the arm64 debootstrap failed: $(tail -n3 "$work/debootstrap-arm64.log")"
echo "note - the arm64 root was ready $((SECONDS - started_all)) s after the start"
check "the arm64 root runs arm64 programs" test "$(chroot "$root" dpkg --print-architecture)" = arm64
mount_in_root -t proc proc "$root/proc"
# The tree at the path it was built in, where ctest finds its suites.
mkdir -p "$root/build/arm64"
tar -cf - -C "$builder/build/arm64" quorvela | tar -xf - -C "$root/build/arm64"
cp "$deb" "$root/build/"
started=$SECONDS
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/build/$(basename "$deb")" \
  >"$work/install.log" 2>&1 || die "apt-get install failed: $(tail -n3 "$work/install.log")"
echo "note - apt-get installed the package in $((SECONDS - started)) s, emulated"
check "the installed keeper is set-group-id games" \
  test "$(stat -c '%U:%G %a' "$root/usr/games/quorvela")" = "root:games 2755"
check "the record folder is root's and the games group's" \
  test "$(stat -c '%U:%G %a' "$root/var/games/quorvela")" = "root:games 775"

# Every unit suite, in the arm64 root: ctest there runs the cross-built suites.
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends cmake libqt6test6 \
  >>"$work/install.log" 2>&1 || die "ctest and Qt Test did not install: $(tail -n3 "$work/install.log")"
started=$SECONDS
unit_status=0
chroot "$root" sh -c 'cd /build/arm64/quorvela/obj-tests && ctest --output-on-failure -j2' >"$work/unit.log" 2>&1 ||
  unit_status=$?
echo "note - the unit suites took $((SECONDS - started)) s, emulated: $(grep -E 'tests passed' "$work/unit.log")"
check "every unit suite passes on arm64" test "$unit_status" = 0
check "the record's stand-ins ran (the record suite is among them)" grep -qE 'Test +#[0-9]+: record \.+ +Passed' "$work/unit.log"

# --- the installed game, played by a pupil ----------------------------------------
chroot "$root" useradd --create-home --shell /bin/sh alunno1
folder=$root/var/games/quorvela
start_xvfb 1024x768
mkdir -p "$root/tmp/.X11-unix"
mount_in_root --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
started=$SECONDS
start_game alunno1
game=$game_pid
window=$(start_up "$game" Anna) || die "the start-up did not reach the game window: $(head -c 300 "$work/game-alunno1.log")"
echo "note - the emulated game reached its window in $((SECONDS - started)) s"
emulated() { for pid in "$game" $(descendants "$game"); do readlink "/proc/$pid/exe"; done | grep -c "^$qemu/usr/bin/qemu-aarch64\$"; }
check "the keeper and the game run emulated" test "$(emulated)" -ge 2
eval "$(xdotool getwindowgeometry --shell "$window")"
told=$(eventually shows_stripes_at "$work/arm64.png" "$X" "$Y") || die "no stripes below the menu bar"
client_y=${told%% *}
check "the answer boxes are cyan at their place" \
  test "$(pixel "$work/arm64.png" $((X + 585)) $((client_y + 20)))$(pixel "$work/arm64.png" $((X + 585)) $((client_y + 190)))" = "0,255,2550,255,255"
check "a yellow face on Nuovo calcolo" has_colour "$work/arm64.png" $((X + 288)) $((client_y + 336)) 121 50 "255,230,0"
cp "$work/arm64.png" "$work/out/arm64-game.png"
score_in "$X" "$Y" 1 "$work"
leave_with_yes "$game" congratulated || die "leaving did not go through its boxes"
check "the game ended" eventually bash -c "! kill -0 $game 2>/dev/null"
check "Anna's record of 1 is saved through the installed keeper" \
  test "$(cat "$folder/${score_file}" "$folder/${name_file}")" = $'1\r\nAnna\r'
fails_as_pupil() { ! as_pupil alunno1 sh -c "$1" >/dev/null 2>&1; }
check "the pupil can write in their own home" as_pupil alunno1 sh -c "printf x > /home/alunno1/x"
check "the pupil cannot forge the record" fails_as_pupil "printf '9999\r\n' > /var/games/quorvela/${score_file}"
check "the record is still Anna's 1" test "$(cat "$folder/${score_file}")" = $'1\r'

# --- the package's autopkgtest, as Debian's CI runs it -----------------------------
mount_in_root --bind /dev/pts "$root/dev/pts"
started=$SECONDS
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends autopkgtest \
  >"$work/autopkgtest-install.log" 2>&1 || die "autopkgtest did not install: $(tail -n3 "$work/autopkgtest-install.log")"
check "the package's autopkgtest passes on arm64" \
  chroot "$root" autopkgtest --env=patience=$patience "/build/$(basename "$deb")" /build/arm64/quorvela -- null \
  >"$work/autopkgtest.log" 2>&1
echo "note - autopkgtest took $((SECONDS - started)) s, emulated: $(grep -E '^play ' "$work/autopkgtest.log" | tail -n1)"

echo "note - the whole script took $((SECONDS - started_all)) s; the package and a screenshot are in $work/out"
summary

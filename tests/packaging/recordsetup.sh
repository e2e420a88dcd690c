#!/usr/bin/env bash
# The record folder as an older version left it (every account could write it, so
# a pupil may have laid traps in it) taken over by quorvela-record-setup: the
# record kept in new files, nothing written through a pupil's name, and only the
# keeper left able to write. Needs root (it hands files to root and the games
# group); exits 77 (skipped) without it.
# Usage: recordsetup.sh SOURCE_DIR SETUP_PROGRAM
source "$1/tests/shell/lib.sh"
needs_root
open_test
shopt -s dotglob
export LC_ALL=C
setup=$2

folder=$work/quorvela
keeper=$work/quorvela-keeper
victim=$work/root-only   # stands for any file of root's
printf 'root\n' >"$victim"
chmod 0600 "$victim"
mkdir -m 0777 "$folder"
printf '12\r\n' >"$folder/${score_file}"
printf 'Eva\r\n' >"$folder/${name_file}"
printf 'QVJ1 cut short' >"$folder/${journal_file}"
chown nobody:nogroup "$folder/$score_file" "$folder/$name_file" "$folder/$journal_file"
chmod 0666 "$folder/$score_file" "$folder/$name_file" "$folder/$journal_file"
ln "$folder/${name_file}" "$work/another-name"          # a pupil's second name for a file
for name in ${score_file}.own ${spare}${score_file} .quorvela.new-1-0 stray-link; do
  ln -s "$victim" "$folder/$name"                       # links named as anything root might write
done
mkfifo "$folder/${spare}${name_file}"                    # a FIFO where a spare goes
deep=$folder/stray
for _ in $(seq 40); do deep=$deep/d; done
mkdir -p "$deep" && touch "$deep/file"                  # deeper than the setup will go
exec 7<>"$folder/${score_file}"                           # a descriptor opened before the upgrade
flock "$folder/${journal_file}" sleep 60 &              # the journal's lock, held on
pids+=($!)
sleep 0.2
cp /bin/true "$keeper"

started=$SECONDS
"$setup" "$folder" "$keeper"
took=$((SECONDS - started))

modes() { stat -c '%U:%G %a %h %F %n' "$folder" "$folder"/* | sed "s|$folder|F|"; }
expected="root:games 775 2 directory F
root:games 660 1 regular empty file F/${spare}${journal_file}
root:games 664 1 regular empty file F/${spare}${score_file}
root:games 664 1 regular empty file F/${spare}${name_file}
root:games 660 1 regular empty file F/${journal_file}
root:games 664 1 regular file F/${score_file}
root:games 664 1 regular file F/${name_file}"
check "only the record's files and spares are left, root's and the games group's, each of one name" \
  test "$(modes)" = "$expected"
check "the record is kept" test "$(cat "$folder/${score_file}" "$folder/${name_file}")" = $'12\r\nEva\r'
check "root's file is unchanged in content, owner and mode" \
  test "$(stat -c '%U:%G %a' "$victim") $(cat "$victim")" = "root:root 600 root"
printf '99\r\n' >"$work/another-name"
printf '999\r\n' >&7
exec 7>&-
check "neither a second name nor an old descriptor reaches the record" \
  test "$(cat "$folder/${score_file}" "$folder/${name_file}")" = $'12\r\nEva\r'
check "a lock held on the old journal delays the setup by seconds at most" test "$took" -lt 10
check "the new journal's lock is free" flock -n "$folder/${journal_file}" true
check "nothing of the old folder is left beside it" test "$(ls -A "$work" | grep -c quorvela)" = 2
check "the keeper is set-group-id games" test "$(stat -c '%U:%G %a' "$keeper")" = "root:games 2755"

# A pupil's link in the folder's place: replaced, and what it points at untouched.
rm -rf "$folder"
mkdir -m 0700 "$work/elsewhere"
printf 'x' >"$work/elsewhere/${score_file}"
ln -s "$work/elsewhere" "$folder"
"$setup" "$folder"
check "a link in the folder's place is replaced by a folder" test "$(stat -c %F "$folder")" = directory
check "what the link pointed at is untouched" \
  test "$(stat -c '%U %a' "$work/elsewhere") $(ls "$work/elsewhere") $(cat "$work/elsewhere/${score_file}")" = "root 700 ${score_file} x"
# A record file that only root could read (a pupil's hard link to a secret, on a
# system that allows one) is not carried into a record every account reads.
printf '41\r\n' >"$folder/${score_file}.new"
chmod 0600 "$folder/${score_file}.new"
mv "$folder/${score_file}.new" "$folder/${score_file}"
"$setup" "$folder"
check "an unreadable file stays unread" test ! -s "$folder/${score_file}"
check "the setup run again leaves the folder as it made it" test "$(modes)" = "${expected//regular file/regular empty file}"
# Mounts an account could make there (FUSE lets a pupil mount on a folder they may
# write; bind mounts stand in for them here): one at the folder's own name goes,
# one inside is never entered, so nothing of what it shows is removed; and a tree
# deeper than any descriptor limit goes whole.
unmount_below() { findmnt -rn -o TARGET | grep -F "$work/" | tac | while read -r m; do umount -l "$m"; done; }
at_exit unmount_below
mkdir -p "$work/shown" "$work/over"
printf 'x' >"$work/shown/keep"
rm -rf "$folder"
mkdir -m 0777 "$folder"
printf '12\r\n' >"$folder/${score_file}"
printf 'Eva\r\n' >"$folder/${name_file}"
mkdir -p "$folder/stray/mnt"
mount --bind "$work/shown" "$folder/stray/mnt"
deep=$folder/deep
for _ in $(seq 300); do deep=$deep/d; done
mkdir -p "$deep"
mount --bind "$work/over" "$folder"
"$setup" "$folder" 2>"$work/setup.err"
check "a mount at the folder's name is taken away, and the record under it kept" \
  test "$(cat "$folder/${score_file}")" = $'12\r'
check "what a mount inside showed is untouched" test "$(cat "$work/shown/keep")" = x
check "what could not go is said, and left where only root enters" \
  bash -c "grep -q 'left' '$work/setup.err' && test \"\$(stat -c '%U %a' '$work'/.quorvela.new-*)\" = 'root 700'"
check "a tree 300 folders deep went" test -z "$(find "$work" -path '*/deep' -print -quit)"
unmount_below
"$setup" "$folder"
check "the next run removes what an earlier one left" test -z "$(compgen -G "$work/.quorvela.new-*")"

# Mounts stacked at the folder's name, each over the last, more than a hundred:
# all go.
for _ in $(seq 150); do mount --bind "$work/over" "$folder"; done
"$setup" "$folder"
check "150 mounts stacked at the folder's name all go, and the record under them is kept" \
  bash -c "! findmnt -rn '$folder' >/dev/null && test \"\$(cat '$folder/${score_file}')\" = \$'12\\r'"

# Only a record the game could have saved is carried over; any other a pupil
# wrote into the old folder (one no one could beat, among them) is not.
carried() { # score-file name-file: what the new record holds after the setup
  rm -rf "$folder"
  mkdir -m 0777 "$folder"
  printf -- "$1" >"$folder/${score_file}"
  printf -- "$2" >"$folder/${name_file}"
  "$setup" "$folder"
  cat "$folder/${score_file}" "$folder/${name_file}" | od -An -c | tr -s ' '
}
check "a score the game could save is carried over" test "$(carried '32767\r\n' 'Eva\r\n')" = " 3 2 7 6 7 \r \n E v a \r \n"
check "no record is carried over as no record" test -z "$(carried '' '')"
for row in '99999\r\n|Eva\r\n|a score above the counters' '1e999\r\n|Eva\r\n|an exponent' \
           '007\r\n|Eva\r\n|leading zeros' '-3\r\n|Eva\r\n|a sign' '12|Eva\r\n|no line end' \
           '12\r\n|Eva\r\nUgo\r\n|a name of two lines' '12\r\n||no name file content'; do
  IFS='|' read -r score name what <<<"$row"
  check "a record with $what starts empty" test -z "$(carried "$score" "$name")"
done

# A failure once the old folder was closed (here the parent lets no name be
# renamed) leaves the old folder as it was, for every account, and nothing beside it.
rm -rf "$folder"
mkdir -m 0777 "$folder"
printf '12\r\n' >"$folder/${score_file}"
printf 'Eva\r\n' >"$folder/${name_file}"
if chattr +a "$work" 2>/dev/null; then
  at_exit chattr -a "$work"
  check "the setup fails where the parent lets no name be renamed" bash -c "! '$setup' '$folder' 2>/dev/null"
  chattr -a "$work"
  check "... and gives the old folder back its owner and mode, the record in it" \
    test "$(stat -c '%U %a' "$folder") $(cat "$folder/${score_file}")" = $'root 777 12\r'
  "$setup" "$folder"
  check "... and the next run takes it over, leaving nothing beside it" \
    test "$(cat "$folder/${score_file}")$(compgen -G "$work/.quorvela.new-*")" = $'12\r'
else
  echo "note - the file system of $work has no append-only attribute: the failure is not tried"
fi
summary

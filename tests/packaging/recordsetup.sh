#!/usr/bin/env bash
# The record folder as an older version left it (every account could write it, so
# anything may stand in it) taken over by quorvela-record-setup: the record kept,
# everything else gone, and only the helper left able to write. Needs root (it
# hands files to root and the games group); exits 77 (skipped) without it.
# Usage: recordsetup.sh SOURCE_DIR
set -euo pipefail
shopt -s dotglob
export LC_ALL=C
[ "$(id -u)" = 0 ] || { echo "skipped: needs root"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$1/tests/e2e/lib.sh"

folder=$work/quorvela
helper=$work/quorvela-record
mkdir -m 0777 "$folder"
printf '12\r\n' >"$folder/qvlmarc.txt"
printf 'Eva\r\n' >"$folder/qvlmarc1.txt"
chown nobody:nogroup "$folder/qvlmarc.txt" "$folder/qvlmarc1.txt"
chmod 0666 "$folder/qvlmarc.txt" "$folder/qvlmarc1.txt"
ln "$folder/qvlmarc1.txt" "$work/another-name"  # a pupil's second name for the file
ln -s /etc/passwd "$folder/qvlmarc.journal"      # a link where the journal goes
printf 'half' >"$folder/.qvlmarc.txt.Ab3xYz"     # an older version's cut-short save
mkdir "$folder/stray"
touch "$folder/.hidden"
cp /bin/true "$helper"

"$1/data/quorvela-record-setup" "$folder" "$helper"

modes() { stat -c '%U:%G %a %h %F %n' "$folder" "$folder"/* | sed "s|$folder|F|"; }
check "only the record's files are left, root's and the games group's, each its own file" \
  test "$(modes)" = $'root:games 755 2 directory F\nroot:games 660 1 regular empty file F/qvlmarc.journal\nroot:games 664 1 regular file F/qvlmarc.txt\nroot:games 664 1 regular file F/qvlmarc1.txt'
check "the record is kept" test "$(cat "$folder/qvlmarc.txt" "$folder/qvlmarc1.txt")" = $'12\r\nEva\r'
check "the other name no longer reaches the record" test "$(stat -c %h "$work/another-name")" = 1
check "the helper is set-group-id games" test "$(stat -c '%U:%G %a' "$helper")" = "root:games 2755"
check "/etc/passwd was not touched" test "$(stat -c '%U:%G' /etc/passwd)" = "root:root"
summary

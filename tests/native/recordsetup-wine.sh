#!/usr/bin/env bash
# The Windows record setup under Wine, over a %ProgramData%\Quorvela that a pupil made
# first: the pupil's folder set aside, and a new one holding the record's three files
# alone, none of them read-only; then, over the setup's own folder, a record file with
# a second name made a file of its own; then a pupil's folder that a console keeps as
# its current folder, which cannot be set aside: kept, closed, its files made anew.
# Wine keeps no access lists and makes no reparse points, so neither the rights it
# sets nor a link set aside is seen here.
# Usage: recordsetup-wine.sh PREFIX SETUP_EXE
source "$(dirname "$0")/../shell/lib.sh"
source "$(dirname "$0")/../../packaging/windows/wine.sh"
open_test
use_wine_prefix "$1"
at_exit stop_wine
setup="Z:$(realpath "$2" | tr / '\\')"
"$wine" cmd /c exit 2>/dev/null   # the prefix, made once
folder=$WINEPREFIX/drive_c/ProgramData/Quorvela
rm -rf "$folder"

# A pupil's folder: the record, a read-only journal, a stray file and folder.
mkdir -p "$folder/stray"
printf '12\r\n' >"$folder/${score_file}"
printf 'Eva\r\n' >"$folder/${name_file}"
: >"$folder/${journal_file}"
: >"$folder/stray/inside"
: >"$folder/.${score_file}.Ab3"
"$wine" cmd /c attrib +r "C:\\ProgramData\\Quorvela\\${journal_file}" >/dev/null 2>&1
check "the pupil's journal is read-only before" \
  bash -c "'$wine' cmd /c attrib 'C:\\ProgramData\\Quorvela\\${journal_file}' 2>/dev/null | grep -q ' R '"

check "the setup ends with status 0" "$wine" "$setup"
check "the record is kept" test "$(cat "$folder/${score_file}" "$folder/${name_file}")" = $'12\r\nEva\r'
check "only the three files are left" test "$(ls -A "$folder" | LC_ALL=C sort | tr '\n' ' ')" = "${journal_file} ${score_file} ${name_file} "
check "the pupil's folder is set aside, whole" \
  bash -c "ls -d '$folder'.old-*/stray/inside >/dev/null"
check "the journal is no longer read-only" \
  bash -c "! '$wine' cmd /c attrib 'C:\\ProgramData\\Quorvela\\${journal_file}' 2>/dev/null | grep -q ' R '"

# A record file with a second name elsewhere (Wine makes no reparse points, whose
# setting aside is not seen here): its content goes into a file of its own.
ln "$folder/${name_file}" "$work/second-name"
check "the setup ends with status 0 again" "$wine" "$setup"
printf 'Ugo\r\n' >"$work/second-name"
check "the second name no longer reaches the record" test "$(cat "$folder/${name_file}")" = $'Eva\r'
check "the name file has one name" test "$(stat -c %h "$folder/${name_file}")" = 1
check "the score is still kept" test "$(cat "$folder/${score_file}")" = $'12\r'

rm -rf "$folder" "$folder".old-*
mkdir -p "$folder"
printf '12\r\n' >"$folder/${score_file}"
printf 'Eva\r\n' >"$folder/${name_file}"
: >"$folder/stray"
"$wine" cmd /c 'cd /d C:\ProgramData\Quorvela && ping -n 30 127.0.0.1 >nul' >/dev/null 2>&1 &
console=$!
pids+=("$console")
sleep 3
check "with a console in the pupil's folder, the setup ends with status 0" "$wine" "$setup"
check "... the folder kept in its place, holding the record's three files alone" \
  test "$(ls -A "$folder" | LC_ALL=C sort | tr '\n' ' ')$(compgen -G "$folder.old-*")" = "${journal_file} ${score_file} ${name_file} "
check "... and the record in them" test "$(cat "$folder/${score_file}" "$folder/${name_file}")" = $'12\r\nEva\r'
kill "$console" 2>/dev/null || true
summary

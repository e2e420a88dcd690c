#!/usr/bin/env bash
# Runs a Windows program under Wine with a Wine prefix of its own, then stops
# the Wine server that served it: nothing of Wine outlives the test.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
set -u
source "$(dirname "$0")/../../packaging/windows/wine.sh"
use_wine_prefix "$1"
shift
# Wine keeps the QT_ variables of Linux from Windows programs: they are handed
# over through cmd instead, for the tests that set the platform or the scale.
settings=""
while IFS= read -r setting; do
  settings+="set $setting&& "
done < <(env | grep '^QT_[A-Z_]*=[A-Za-z0-9./:_-]*$')
program="Z:$(realpath "$1" | tr / '\\')"
shift
# A Qt Test program's standard output does not reach Linux through Wine: its
# log goes to a file, shown afterwards.
log=""
case "$program" in
  *\\tst_*.exe)
    log=$(mktemp)
    set -- "$@" -o "Z:$log,txt"
    ;;
esac
if [ -n "$settings" ]; then
  "$wine" cmd /c "$settings$program" "$@"
else
  "$wine" "$program" "$@"
fi
status=$?
if [ -n "$log" ]; then
  cat "$log"
  rm -f "$log"
fi
stop_wine
exit "$status"

#!/usr/bin/env bash
# Runs a Windows program under Wine with a Wine prefix of its own, then stops
# the Wine server that served it: nothing of Wine outlives the test. Ends with
# the program's status.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
source "$(dirname "$0")/../shell/lib.sh"
source "$(dirname "$0")/../../packaging/windows/wine.sh"
open_test
use_wine_prefix "$1"
at_exit stop_wine
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
    log=$work/test.log
    set -- "$@" -o "Z:$log,txt"
    ;;
esac
status=0
if [ -n "$settings" ]; then
  "$wine" cmd /c "$settings$program" "$@" || status=$?
else
  "$wine" "$program" "$@" || status=$?
fi
[ -z "$log" ] || cat "$log" || echo "note - the program left no log"
exit "$status"

#!/usr/bin/env bash
# Runs a Windows program under Wine with a Wine prefix of its own, then stops
# the Wine server that served it: nothing of Wine outlives the test.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
set -u
export WINEPREFIX=$1 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
shift
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wine64 "$@"
status=$?
/usr/lib/wine/wineserver -k 2>/dev/null
/usr/lib/wine/wineserver -w 2>/dev/null
exit "$status"

# Wine's one set-up, sourced by every script that runs a Windows program: a prefix
# of the caller's, no debug chatter, no .NET or Internet Explorer installers, and
# the end of every Wine process of that prefix.
wine=/usr/lib/wine/wine64

use_wine_prefix() { # folder
  export WINEPREFIX=$1 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
}

stop_wine() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true
}

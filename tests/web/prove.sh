#!/usr/bin/env bash
# The browser build that packaging/web/build.sh made, proven in Debian's chromium,
# headless: the site served as a web server serves it (precompressed), a round played
# by tests/web/round.py, and the figures of the page's start and transfer against a
# Qt hello built the same way. Screenshots are kept in build-web/prove.
# The same round by finger in chromium's emulation of tablets and phones, and the
# keyboard round in WebKitGTK, the engine of Safari, on an X server of its own.
# Usage: tests/web/prove.sh   (build.sh runs it at its end)
source "$(dirname "$0")/../shell/lib.sh"
open_test
cd "$(dirname "$0")/../.."
root=$PWD
out=$root/build-web
shots=$out/prove
"$root/.ci/setup" --web >/dev/null
[ -f "$out/site/quorvela.wasm" ] && [ -f "$out/hello/quorvela-hello.wasm" ] ||
  die "no site to prove: run packaging/web/build.sh first"
rm -rf "$shots"
mkdir -p "$shots"

serve() { # folder; sets $port
  local log=$work/serve-$(basename "$1").port
  /usr/bin/python3 "$root/tests/web/serve.py" "$1" >"$log" &
  pids+=($!)
  eventually test -s "$log"
  port=$(head -n1 "$log")
}
serve "$out/site"
game_port=$port
serve "$out/hello"
hello_port=$port

# chromedriver and chromium end with the script; a browser left behind is stopped
# with the servers by their PIDs.
/usr/bin/python3 "$root/tests/web/round.py" "http://127.0.0.1:$game_port/" \
  "http://127.0.0.1:$hello_port/" "$shots" "$work/profiles" &
round=$!
pids+=("$round")
status=0
wait "$round" || status=$?
check "the round in chromium, by keyboard and by finger" test "$status" = 0

# WebKitGTK draws on a display; its driver starts and ends the browser.
start_xvfb 1280x1024
mkdir -p "$shots/webkit"
/usr/bin/python3 "$root/tests/web/round.py" "http://127.0.0.1:$game_port/" \
  "http://127.0.0.1:$hello_port/" "$shots/webkit" "$work/profiles" --webkit &
round=$!
pids+=("$round")
status=0
wait "$round" || status=$?
check "the round in WebKitGTK" test "$status" = 0
summary

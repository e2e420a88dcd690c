#!/usr/bin/env bash
# A pupil who cannot see the screen plays the game in the browser: Debian's chromium
# (not headless, with its accessibility on) shows the page of build-web/site on a
# session of the test's own with the Orca screen reader, and the test plays by
# keyboard alone, waiting after each step for what Orca says of the page's live
# region: the opening dialogs, the problem, a wrong answer's verdict with the counters.
# Usage: tests/web/orca.sh   (after packaging/web/build.sh)
source "$(dirname "$0")/../shell/lib.sh"
open_test
cd "$(dirname "$0")/../.."
root=$PWD
site=$root/build-web/site
logs=$root/build-web/orca-logs
[ -f "$site/quorvela.wasm" ] || die "no site: run packaging/web/build.sh first"
keep_logs() { rm -rf "$logs" && mkdir -p "$logs" && cp "$work"/*.log "$work/orca.debug" "$logs/" 2>/dev/null; }
at_exit keep_logs

/usr/bin/python3 "$root/tests/web/serve.py" "$site" >"$work/port" &
pids+=($!)
eventually test -s "$work/port" || die "the site's server did not start"
url=http://127.0.0.1:$(head -n1 "$work/port")/

start_screen_reader 1280x900

# No GPU on the test's X server: WebGL from chromium's software renderer.
chromium --no-sandbox --disable-gpu --enable-unsafe-swiftshader --force-renderer-accessibility \
  --no-first-run --disable-features=Translate \
  --disable-background-networking --disable-sync --disable-extensions --lang=it-IT \
  --user-data-dir="$work/profile" --window-position=0,0 --window-size=1200,850 \
  --app="$url" >"$work/chromium.log" 2>&1 &
browser=$!
pids+=("$browser")

# Keys go to the browser's window once it has the focus.
focus_browser() {
  local window
  window=$(xdotool search --onlyvisible --class chromium | tail -n1) &&
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
}
eventually focus_browser || die "no browser window"

check 'the name dialog is said' hears 0 '^Come ti chiami\?$'
# In a web page Orca takes letters and Enter to move through the page (browse mode)
# until the pupil passes the keys to the game with Orca+A (focus mode); Orca does
# not switch by itself for a page's application.
before=$(spoken_lines)
xdotool keydown Insert key a keyup Insert
check 'Orca+A: focus mode' hears "$before" '^Focus mode$'
before=$(spoken_lines)
xdotool type --delay 80 Zeno
xdotool key Return
check 'the greeting is said' hears "$before" '^ ?Zeno vediamo se sei un vero campione'
for line in 'Premi il tasto invio' 'ed ancora invio' 'Ricordati di semplificare' \
            'Se devi correggere' 'Puoi anche cancellare' 'Buona fortuna Zeno'; do
  sleep 0.5
  xdotool key Return
  check "\"$line …\" is said" hears "$before" "$line"
done
sleep 0.5
xdotool key Return # the last dialog, "Buona fortuna"
problem='^[a-z0-9 ]+ più [a-z0-9 ]+$'
check 'the problem is said as a sum' hears "$before" "$problem"

before=$(spoken_lines)
sleep 0.5
xdotool type --delay 80 999
xdotool key Return
xdotool type --delay 80 7
xdotool key Return
check 'a wrong answer: the expected sum in words and the counters' \
  hears "$before" '^Sbagliato! Il risultato è [a-z0-9 ]+\. Risposte esatte 0, errate 1, totali 1\.$'
[ "$failures" = 0 ] || echo "note - last heard: $(last_heard)"
summary

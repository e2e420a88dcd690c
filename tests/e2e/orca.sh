#!/usr/bin/env bash
# A pupil who cannot see the screen: the real game played by keyboard alone with
# the Orca screen reader, on a session of the test's own (Xvfb, a window manager,
# a D-Bus session bus with the accessibility bus on it, speech-dispatcher with
# espeak-ng speaking into ALSA's null device). Orca writes every utterance into its
# debug file as a "SPEECH OUTPUT:" line; after each step the test waits for what a
# pupil must hear: the problem when the window appears and after every new one,
# the verdict with the counters (and the expected sum when wrong).
# Usage: orca.sh BINARY RECORD_FOLDER [PROGRAMS_FOLDER]   (the folders the binary, a
#   record's keeper, was built for: its record, and where it starts BINARY-game;
#   without PROGRAMS_FOLDER, BINARY is an installed game's keeper)
source "$(dirname "$0")/../shell/lib.sh"
open_test

binary=$1
record=$2
logs=$(dirname "$binary")/orca-logs
# An installed game (no PROGRAMS_FOLDER) is played where it is.
if [ -n "${3:-}" ]; then
  place_game "$binary" "$3"
  binary=$3/$(basename "$binary")
fi
keep_logs() { mkdir -p "$logs" && cp "$work"/*.log "$work/orca.debug" "$logs/" 2>/dev/null; }
at_exit keep_logs
at_exit rm -rf "$record"
rm -rf "$record"

start_screen_reader

# The game, as a pupil starts it: no hint of a screen reader but the desktop's.
"$binary" >"$work/game.log" 2>&1 &
game=$!
pids+=("$game")
window=$(start_up "$game" Anna) || die "the start-up did not reach the game window"
eval "$(xdotool getwindowgeometry --shell "$window")"
problem='^[a-z0-9 ]+ più [a-z0-9 ]+\. Inserisci il risultato e  premi il tasto  Invio\.$'
check "when the window appears, the problem is said as a sum" hears 0 "$problem"
check "... with the numerator box named" hears 0 "numeratore del risultato"

right=0 wrong=0 total=0
for _ in $(seq 12); do
  told=$(eventually shows_stripes_at "$work/screen.png" "$X" "$Y") || die "no stripes below the menu bar"
  read -r _ _ _ num den <<<"$told"
  before=$(spoken_lines)
  # A right answer where the stripes tell the sum; a wrong one once that was heard.
  if [ "$den" != - ] && [ "$right" = 0 ]; then
    [ "$den" != 1 ] || den=""
    type_answer "$num" "$den"
    right=1 total=$((total + 1))
    check "a right answer: praise in words and the counters, with no Tab" \
      hears "$before" "^(Esatto\. sei eccezionale|Ok|Fantastico|Mitico|Ottimo|Sei un campione|Sei insuperabile|Esatto)! Risposte esatte 1, errate $wrong, totali $total\. Go\.$"
  else
    type_answer 999 7
    wrong=$((wrong + 1)) total=$((total + 1))
    check "a wrong answer: the expected sum in words and the counters" \
      hears "$before" "^Sbagliato! Il risultato è [a-z0-9 ]+\. Risposte esatte $right, errate $wrong, totali $total\. Go\.$"
  fi
  before=$(spoken_lines)
  xdotool key Return # Enter on "Nuovo calcolo"
  check "after Enter on Nuovo calcolo, the new problem and where the focus is" \
    hears "$before" "$problem"
  check "... with the numerator box named" hears "$before" "numeratore del risultato"
  [ "$right" = 1 ] && [ "$wrong" -ge 1 ] && break
done
check "a right and a wrong answer were both heard" test "$right" = 1 -a "$wrong" -ge 1
[ "$failures" = 0 ] || echo "note - last heard: $(last_heard)"
summary

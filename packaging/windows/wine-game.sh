#!/usr/bin/env bash
# The installed Windows game under Wine, started as a pupil starts it from the
# Start menu; the caller exports WINEPREFIX. One process: the game's own.
source "$(dirname "$0")/wine.sh"
exec "$wine" 'C:\Program Files\Quorvela\quorvela.exe'

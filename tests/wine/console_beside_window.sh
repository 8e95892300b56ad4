#!/bin/sh
# While Glyphkit.exe runs on an X display of its own, a console program
# started through winrun without a display finishes at once, and a window
# program for another display says what it waits for and gives up in time.
#   console_beside_window.sh WINRUN GLYPHKIT CLI
set -u
winrun=$1 glyphkit=$2 cli=$3
xvfb-run -a -s "-screen 0 1024x768x24" "$winrun" "$glyphkit" >/dev/null 2>&1 &
window=$!
# The window waits at its model choice once the server records its display.
sleep 8
echo "version: $(env -u DISPLAY timeout 20 "$winrun" "$cli" --version; echo " status $?")"
DISPLAY=:98 GLYPHKIT_WINE_WAIT=2 timeout 20 "$winrun" "$glyphkit" 2>&1
echo "window program status $?"
kill "$window" 2>/dev/null
pkill -P "$window" 2>/dev/null
WINEPREFIX="$(dirname "$winrun")/../build/wine/prefix" "$(command -v wineserver || echo /usr/lib/wine/wineserver64)" -k 2>/dev/null
wait

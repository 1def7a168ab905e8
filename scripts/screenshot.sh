#!/usr/bin/env bash
# screenshot.sh OUT.png PROGRAM [ARGS...]: runs PROGRAM on a virtual screen,
# waits for it to draw, saves the screen as OUT.png and ends the program.
set -euo pipefail
out=$1; shift
delay=${ZV_SCREENSHOT_DELAY:-3}
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$@" & pid=$!
  sleep '"$delay"'
  xwd -root -silent | convert xwd:- png:"'"$out"'" 2>/dev/null || xwd -root -silent > "'"$out"'.xwd"
  kill $pid 2>/dev/null || true
' _ "$@"
echo "Saved $out"

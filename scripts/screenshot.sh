#!/bin/sh
# Takes a picture of Longhand at work: starts the program on a virtual X
# display, lets the welcome window pass, types two numbers into the operand
# boxes, presses Multiply and saves the main window as a PNG.
#
#   scripts/screenshot.sh [longhand-executable] [output.png]
#
# Needs xvfb-run, xdotool and ImageMagick's import (make deps installs them).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/default/bin/longhand}
out=${2:-$root/docs/screenshot.png}

if [ -z "${LONGHAND_SHOT_DISPLAY:-}" ]; then
    for tool in xvfb-run xdotool import; do
        command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing" >&2; exit 1; }
    done
    [ -x "$exe" ] || { echo "screenshot.sh: no program at $exe (run make build)" >&2; exit 1; }
    mkdir -p "$(dirname "$out")"
    LONGHAND_SHOT_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$exe" "$out"
fi

# Inside the virtual display from here on.
"$exe" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# The welcome window hides itself after three seconds; then the main
# window is the one visible window of the program.
window=
tries=0
while [ -z "$window" ]; do
    sleep 1
    tries=$((tries + 1))
    [ "$tries" -le 20 ] || { echo "screenshot.sh: the main window did not appear" >&2; exit 1; }
    [ "$tries" -ge 4 ] || continue
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tail -n 1 || true)
done
xdotool windowfocus --sync "$window"
sleep 0.5

# Focus starts on Multiply; Tab leads into the upper, then the lower box.
xdotool key --delay 50 Tab
xdotool type --delay 20 "3.14159265358979323846264338327950288419716939937510"
xdotool key --delay 50 Tab
xdotool type --delay 20 "2.71828182845904523536028747135266249775724709369995"
# Back to Multiply and press it.
xdotool key --delay 50 shift+Tab shift+Tab space
sleep 1

import -window "$window" "$out"
echo "screenshot.sh: saved $out"

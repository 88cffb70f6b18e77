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

. "$root/scripts/xshot.sh"
xshot_enter_display
xshot_start_program

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

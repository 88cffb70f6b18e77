#!/bin/sh
# Takes a picture of Longhand while it works: starts the program on a virtual
# X display, opens the function dialog in power mode from the Function
# button, starts a power of some 85 million digits and saves the dialog with
# its working panel (elapsed seconds, progress bar, Cancel) as a PNG.
#
#   scripts/screenshot_working.sh [longhand-executable] [output.png]
#
# Needs xvfb-run, xdotool and ImageMagick's import (make deps installs them).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/default/bin/longhand}
out=${2:-$root/docs/working.png}

# The power computed, and how long after pressing compute the picture is
# taken (the panel appears after 0.3 s).
argument="7^100000000"
wait_seconds=1.5

. "$root/scripts/xshot.sh"
xshot_enter_display
xshot_start_program

# Focus starts on Multiply; six Tabs lead through the three boxes, Add and
# Subtract to Function, whose menu pops up at the pointer. Power is its
# second item.
xdotool key --delay 50 Tab Tab Tab Tab Tab Tab space
sleep 0.5
xdotool key --delay 100 Down Down Return
sleep 1

# The dialog opens with the argument line focused; Enter computes.
# The dialog is captioned with its mode.
dialog=$(xdotool search --onlyvisible --pid "$pid" --name '^Power$' 2>/dev/null | tail -n 1 || true)
[ -n "$dialog" ] || { echo "screenshot_working.sh: the function dialog did not open" >&2; exit 1; }
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 "$argument"
xdotool key Return
sleep "$wait_seconds"

import -window "$dialog" "$out"
echo "screenshot_working.sh: saved $out"

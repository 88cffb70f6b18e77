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

if [ -z "${LONGHAND_SHOT_DISPLAY:-}" ]; then
    for tool in xvfb-run xdotool import; do
        command -v "$tool" >/dev/null || { echo "screenshot_working.sh: $tool is missing" >&2; exit 1; }
    done
    [ -x "$exe" ] || { echo "screenshot_working.sh: no program at $exe (run make build)" >&2; exit 1; }
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
    [ "$tries" -le 20 ] || { echo "screenshot_working.sh: the main window did not appear" >&2; exit 1; }
    [ "$tries" -ge 4 ] || continue
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tail -n 1 || true)
done
xdotool windowfocus --sync "$window"
sleep 0.5

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

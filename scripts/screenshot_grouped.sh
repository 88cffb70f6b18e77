#!/bin/sh
# Takes a picture of a long result in digit groups: starts the program on a
# virtual X display from a scratch copy of its folder with digit grouping
# set to 5, opens a number of 2,386 digits from a text file (wrapped
# over many lines) into the upper box and 7 into the lower one, divides,
# clicks into the quotient and saves the main window, with the length line
# under the result, as a PNG.
#
#   scripts/screenshot_grouped.sh [longhand-executable] [output.png]
#
# Needs xvfb-run, xdotool, ImageMagick's import and python3.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/default/bin/longhand}
out=${2:-$root/docs/grouped.png}

. "$root/scripts/xshot.sh"
xshot_enter_display

# The program and its delivered files in a scratch folder, so that the
# grouping option and the opened files stay out of the build.
scratch=$(mktemp -d)
built=$(dirname "$exe")
cp "$exe" "$built/rcnt.vok" "$built/cphelp.vok" "$built/1.wav" "$scratch/"
printf '\r\n[Digit Grouping]\r\nSize=5\r\n[Sound Check]\r\nState=1\r\n' >>"$scratch/rcnt.vok"
python3 -c 'import textwrap; print("\n".join(textwrap.wrap(str(3**5000), 64)))' \
    >"$scratch/upper.txt"
echo 7 >"$scratch/lower.txt"
exe=$scratch/$(basename "$exe")
xshot_start_program
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT

# Each file dialog opens with its file name line focused.
open_file() {
    xdotool key --delay 50 "$1"
    sleep 1
    xdotool type --delay 10 "$2"
    xdotool key Return
    sleep 1
    xdotool windowfocus --sync "$window"
}
open_file ctrl+o "$scratch/upper.txt"
open_file ctrl+shift+o "$scratch/lower.txt"

# Divide (below the menu bar), then a click into the quotient's second row
# (in window pixels at 96 dpi).
xdotool mousemove --window "$window" 362 41 click 1
sleep 1
xdotool mousemove --window "$window" 300 310 click 1
sleep 0.5

import -window "$window" "$out"
echo "screenshot_grouped.sh: saved $out"

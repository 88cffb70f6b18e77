#!/bin/sh
# Takes a picture of the expression and history window: starts the program
# on a virtual X display from a scratch copy of its folder, multiplies two
# numbers in the main window, opens the window with Ctrl+E, types a few
# expressions (each followed by Enter) and saves the window as a PNG.
#
#   scripts/screenshot_history.sh [longhand-executable] [output.png]
#
# Needs xvfb-run, xdotool and ImageMagick's import.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/default/bin/longhand}
out=${2:-$root/docs/history.png}

. "$root/scripts/xshot.sh"
xshot_enter_display

# The program and its delivered files in a scratch folder, so that the
# history it keeps stays out of the build.
scratch=$(mktemp -d)
built=$(dirname "$exe")
cp "$exe" "$built/rcnt.vok" "$built/cphelp.vok" "$built/1.wav" "$scratch/"
printf '\r\n[Sound Check]\r\nState=1\r\n' >>"$scratch/rcnt.vok"
exe=$scratch/$(basename "$exe")
xshot_start_program
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT

# A product in the main window goes into the history as "Multiply".
xdotool key --delay 50 Tab
xdotool type --delay 20 "123456789123456789"
xdotool key --delay 50 Tab
xdotool type --delay 20 "987654321987654321"
xdotool key --delay 50 shift+Tab shift+Tab space
sleep 1

xdotool key ctrl+e
sleep 1
history=$(xdotool search --onlyvisible --name "Expression and History" | tail -n 1)
[ -n "$history" ] || xshot_fail "the expression and history window did not appear"
xdotool windowfocus --sync "$history"
for line in "2^100-1" "30!/(10!*20!)" "1/7" "22/7" "1/6" "ans*6 + #5" "2^20000"; do
    xdotool type --delay 20 "$line"
    xdotool key Return
    sleep 0.7
done
# The newest entry is chosen, its value of 6,021 digits in the view below.
sleep 0.5

import -window "$history" "$out"
echo "screenshot_history.sh: saved $out"

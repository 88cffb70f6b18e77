#!/bin/sh
# Takes the pictures of docs/ on a screen of twice the usual density
# (QT_SCALE_FACTOR=2), from the keyboard alone: two numbers typed in and
# Alt+M (docs/screenshot@2x.png); then, from a scratch copy of the
# program's folder with digit grouping set to 5, 3^5000 opened from a text
# file divided by 7 with Alt+D and Ctrl+G to digit 2,390, so that the round
# hint and the length line show where the caret stands (docs/grouped@2x.png).
#
#   scripts/screenshot_2x.sh [longhand-executable] [output-folder] [scale]
#
# A scale of 1.5 shows the same layout at 150 %. Needs xvfb-run, xdotool,
# ImageMagick's import and python3.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build/default/bin/longhand}
folder=${2:-$root/docs}
scale=${3:-${LONGHAND_SHOT_SCALE:-2}}
suffix=$( [ "$scale" = 2 ] && echo "@2x" || echo "@${scale}x")
out=$folder/screenshot$suffix.png
export LONGHAND_SHOT_SCALE=$scale LONGHAND_SHOT_SCREEN=2560x1600x24 QT_SCALE_FACTOR=$scale

. "$root/scripts/xshot.sh"
if [ -z "${LONGHAND_SHOT_DISPLAY:-}" ]; then
    [ -x "$exe" ] || xshot_fail "no program at $exe (run make build)"
    mkdir -p "$folder"
    LONGHAND_SHOT_DISPLAY=1 exec xvfb-run -a -s "-screen 0 $LONGHAND_SHOT_SCREEN" \
        "$0" "$exe" "$folder" "$scale"
fi

# The program and its delivered files in a scratch folder, so that the
# options and the opened files stay out of the build.
scratch=$(mktemp -d)
built=$(dirname "$exe")
cp "$exe" "$built/rcnt.vok" "$built/cphelp.vok" "$built/1.wav" "$scratch/"
printf '\r\n[Sound Check]\r\nState=1\r\n' >>"$scratch/rcnt.vok"
exe=$scratch/$(basename "$exe")
trap 'rm -rf "$scratch"' EXIT

# Focus starts on Multiply; Tab leads into the upper, then the lower box.
xshot_start_program
xdotool key --delay 50 Tab
xdotool type --delay 20 "3.14159265358979323846264338327950288419716939937510"
xdotool key --delay 50 Tab
xdotool type --delay 20 "2.71828182845904523536028747135266249775724709369995"
xdotool key --delay 50 alt+m
sleep 1
import -window "$window" "$out"
echo "screenshot_2x.sh: saved $out"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true

out=$folder/grouped$suffix.png
printf '\r\n[Digit Grouping]\r\nSize=5\r\n' >>"$scratch/rcnt.vok"
python3 -c 'import textwrap; print("\n".join(textwrap.wrap(str(3**5000), 64)))' \
    >"$scratch/upper.txt"
echo 7 >"$scratch/lower.txt"
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
xdotool key --delay 50 alt+d
sleep 1
xdotool key --delay 50 ctrl+g
sleep 1
xdotool key --delay 50 ctrl+a
xdotool type --delay 20 "2390"
xdotool key Return
sleep 1
import -window "$window" "$out"
echo "screenshot_2x.sh: saved $out"

#!/usr/bin/env bash
# Times `make run` on a fresh clone: from the start of `make run` to the
# first visible window of Longhand on a virtual X display. The clone is
# built without a compiler cache, as a new checkout would be; the Debian
# packages are expected to be installed already (make deps).
#
#   scripts/time_make_run.sh [repository] [branch]   (default: this one, its HEAD)
#
# Prints the seconds and the load average before and after; keeps the
# clone and its make log in a folder under /tmp, named at the end.
# Needs xvfb-run and xdotool (make deps installs them).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
repo=${1:-$root}
branch=${2:-$(git -C "$root" rev-parse --abbrev-ref HEAD)}
# Give up when no window shows within this many seconds.
limit=1200

if [ -z "${LONGHAND_TIMING_DISPLAY:-}" ]; then
    for tool in xvfb-run xdotool git; do
        command -v "$tool" >/dev/null || { echo "$0: $tool is missing" >&2; exit 1; }
    done
    LONGHAND_TIMING_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$repo" "$branch"
fi

work=$(mktemp -d /tmp/longhand-make-run.XXXXXX)
git clone -q --branch "$branch" "$repo" "$work/longhand"
echo "clone: $work/longhand ($(git -C "$work/longhand" rev-parse --short HEAD))"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

start=$(date +%s%N)
# A session of its own, so that make and the program it starts end together.
(cd "$work/longhand" &&
    exec setsid env -u CMAKE_CXX_COMPILER_LAUNCHER CCACHE_DISABLE=1 make run >"$work/make.log" 2>&1) &
make_pid=$!
trap 'kill -- -"$make_pid" 2>/dev/null || true' EXIT

window=
while [ -z "$window" ]; do
    if ! kill -0 "$make_pid" 2>/dev/null; then
        echo "make run ended before a window showed; see $work/make.log" >&2
        exit 1
    fi
    if [ $(($(date +%s%N) - start)) -gt $((limit * 1000000000)) ]; then
        echo "no window within $limit s; see $work/make.log" >&2
        exit 1
    fi
    window=$(xdotool search --onlyvisible --classname longhand 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] || sleep 0.2
done
tenths=$((($(date +%s%N) - start) / 100000000))

echo "make run to the window: $((tenths / 10)).$((tenths % 10)) s"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "make log: $work/make.log"

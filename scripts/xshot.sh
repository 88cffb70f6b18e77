# Shared part of the screenshot scripts; sourced, not run. The caller sets
# `exe` (the program) and `out` (the PNG) and calls these in order:
#   xshot_enter_display       re-runs the calling script inside a virtual X
#                             display of LONGHAND_SHOT_SCREEN (default
#                             1024x768x24, through xvfb-run); returns only
#                             when inside
#   xshot_start_program       starts the program and sets `pid` and `window`
#                             (its main window, once the welcome window passed)

xshot_name=$(basename "$0")

xshot_fail() {
    echo "$xshot_name: $*" >&2
    exit 1
}

xshot_enter_display() {
    [ -z "${LONGHAND_SHOT_DISPLAY:-}" ] || return 0
    for tool in xvfb-run xdotool import; do
        command -v "$tool" >/dev/null || xshot_fail "$tool is missing"
    done
    [ -x "$exe" ] || xshot_fail "no program at $exe (run make build)"
    mkdir -p "$(dirname "$out")"
    LONGHAND_SHOT_DISPLAY=1 exec xvfb-run -a -s "-screen 0 ${LONGHAND_SHOT_SCREEN:-1024x768x24}" \
        "$0" "$exe" "$out"
}

xshot_start_program() {
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
        [ "$tries" -le 20 ] || xshot_fail "the main window did not appear"
        [ "$tries" -ge 4 ] || continue
        window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tail -n 1 || true)
    done
    xdotool windowfocus --sync "$window"
    sleep 0.5
}

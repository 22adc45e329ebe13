# The set-up every take-*.sh screenshot script shares; sourced, after `set -euo pipefail`:
#   . "$(dirname "$0")/screenshot-lib.sh"
#   screenshot_start SCREEN "$@"      # e.g. 1600x1000x24; sets here, root, build, images, work
#   start_sim [--logs] ARX-SIM-OPTIONS... # waits until the room is ready
#   start_arx ARX-OPTIONS...           # waits for the main window; sets window
# Also sim, terminal_image, click, park, visibleWindow, waitWindow and fail. CLICK_PAUSE and
# PARK_PAUSE set the default pauses after a click and after parking the pointer.
# shellcheck shell=bash

script=$(basename "$0" .sh)
CLICK_PAUSE=${CLICK_PAUSE:-0.6}
PARK_PAUSE=${PARK_PAUSE:-0.2}

fail() {
    echo "$script: $*" >&2
    exit 1
}

# Finds the folders, then runs the script again on a display of its own (SCREEN is Xvfb's
# WIDTHxHEIGHTxDEPTH) with a work folder that goes, with every started process, at exit.
screenshot_start() {
    local screen=$1
    shift
    here=$(cd "$(dirname "$0")" && pwd)
    root=$(cd "$here/../../.." && pwd)
    build=$(cd "${1:-$root/build}" && pwd)
    images="$here/images"
    mkdir -p "$images"

    if [[ -z "${ARX_SCREENSHOT_DISPLAY:-}" ]]; then
        exec env ARX_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 $screen" "$0" "$build"
    fi

    work=$(mktemp -d)
    pids=()
    trap screenshot_cleanup EXIT
}

screenshot_cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}

# Starts the emulated room and waits for its ready line: ARX must not search before it
# listens. --logs keeps its output in $work/sim.log and $work/sim.err.
start_sim() {
    if [[ "${1:-}" == --logs ]]; then
        shift
        "$build/bin/arx-sim" "$@" --ready-fd 3 >"$work/sim.log" 2>"$work/sim.err" \
            3>"$work/ready" &
    else
        "$build/bin/arx-sim" "$@" --ready-fd 3 3>"$work/ready" &
    fi
    pids+=($!)
    for _ in $(seq 100); do grep -q '^ready' "$work/ready" && break; sleep 0.05; done
}

# One command on the emulator's control channel (from a start_sim with --control 0); its
# reply must start with "ok".
sim() {
    local control reply
    control=$(sed -n 's/^ready control=//p' "$work/ready")
    [[ -n "$control" ]] || fail "the emulator opened no control channel"
    exec 5<>"/dev/tcp/${control%:*}/${control##*:}"
    echo "$*" >&5
    read -r reply <&5
    exec 5>&-
    [[ "$reply" == ok* ]] || fail "arx-sim: $* -> $reply"
}

# Renders a text file as a terminal would show it: TEXT-FILE OUTPUT-PNG.
terminal_image() {
    # One label a line (label: reads % and \ as escapes), stacked.
    local lines=() line
    while IFS= read -r line; do
        line=${line//\\/\\\\}
        lines+=("label:${line//%/%%}")
    done <"$1"
    convert -background '#101418' -fill '#d8dee6' -font DejaVu-Sans-Mono -pointsize 13 \
        "${lines[@]}" -gravity West -append -bordercolor '#101418' -border 12 "$2"
}

visibleWindow() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true; }

# The first visible window whose name matches, waiting up to five seconds; empty if none.
waitWindow() {
    local id=""
    for _ in $(seq 100); do
        id=$(visibleWindow "$1")
        [[ -n "$id" ]] && break
        sleep 0.05
    done
    echo "$id"
}

# Starts ARX and waits for its main window, then a second for it to settle. Without a
# room-control port: a port held by another ARX would put its message in the picture.
start_arx() {
    "$build/bin/arx" --control none "$@" 2>/dev/null &
    pids+=($!)
    window=$(waitWindow '^ARX 1\.2$')
    [[ -n "$window" ]] || fail "ARX did not open its window"
    sleep 1
}

# Clicks at window coordinates: with no window manager the window sits at the top left.
#   click X Y [BUTTON] [PAUSE]
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep "${4:-$CLICK_PAUSE}"; }
# Moves the pointer out of the way of what is shot.
park() { xdotool mousemove 1500 950; sleep "$PARK_PAUSE"; }

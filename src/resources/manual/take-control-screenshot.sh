#!/usr/bin/env bash
# Takes the manual's picture of room control (images/room-control.png beside this script, and
# docs/room-control.png): arxctl in a terminal against `arx --headless` on 127.0.153.1, with a
# simulated room of eight units on 127.0.153.0/24. It lists the room, mutes every unit,
# locates one by its name, and watches while a delegate unmutes at the unit itself.
#   src/resources/manual/take-control-screenshot.sh [BUILD_DIR]
# Needs xvfb-run and ImageMagick (convert).
set -euo pipefail

. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1280x800x24 "$@"

start_sim --logs --subnet 127.0.153.0 --units 8 --level-rate 8 --no-processor --control 0
port=127.0.153.1:39153
"$build/bin/arx" --headless --search --interface 127.0.153.1 --control "$port" \
    --check-interval 0 2>"$work/arx.err" &
pids+=($!)
for _ in $(seq 100); do
    "$build/bin/arxctl" --connect "$port" list 2>/dev/null | grep -q "Seat 08" && break
    sleep 0.1
done

transcript="$work/terminal.txt"
# The command as typed, then what it printed.
run() {
    local shown="" word
    for word in "$@"; do
        [[ "$word" == *" "* ]] && word="\"$word\""
        shown+=" $word"
    done
    echo "\$ arxctl${shown}" >>"$transcript"
    "$build/bin/arxctl" --connect "$port" "$@" >>"$transcript" 2>&1 || true
}
run list
run set all mute on
run set "Seat 04" locate on
# The units' own reports of these changes come back first.
sleep 1
echo "\$ arxctl watch" >>"$transcript"
"$build/bin/arxctl" --connect "$port" watch >>"$transcript" 2>&1 &
watcher=$!
pids+=("$watcher")
sleep 0.5
sim set 2 micMute 0
sleep 0.5
kill "$watcher"
echo "^C" >>"$transcript"

terminal_image "$transcript" "$images/room-control.png"
cp "$images/room-control.png" "$root/docs/room-control.png"
echo "take-control-screenshot: images/room-control.png and docs/room-control.png" >&2

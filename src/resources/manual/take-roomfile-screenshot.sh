#!/usr/bin/env bash
# Takes the manual's pictures of room files (images/ beside this script): the window menu with
# the room file items (room-file-menu.png) and a room file beside the room (room-file.png, also
# docs/room-file.png). A first ARX without a window saves a room of five units and
# a processor on 127.0.161.0/24 to Hall.arxroom; then, while no ARX runs, a unit's gain is
# changed at the unit and another unit is replaced by one with a new name and address. A second
# ARX, with its window, searches and opens the file.
#   src/resources/manual/take-roomfile-screenshot.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import).
set -euo pipefail

. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1600x1000x24 "$@"

start_sim --logs --subnet 127.0.161.0 --units 1,2,3,4,5 --level-rate 8 --control 0

# The room as it was commissioned, saved by an ARX without a window.
"$build/bin/arx" --headless --search --interface 127.0.161.1 --control 127.0.161.1:39161 \
    --preset-folder "$work" 2>"$work/first.err" &
first=$!
pids+=("$first")
arxctl() { "$build/bin/arxctl" --connect 127.0.161.1:39161 "$@" >/dev/null; }
for _ in $(seq 100); do arxctl list 2>/dev/null && break; sleep 0.05; done
sleep 1.5 # every unit answers the search
arxctl set speaker connect 127.0.161.200
sleep 0.5
arxctl set speaker name "Hall"
arxctl set speaker level_a -6
arxctl set 3 eq2 1000 -3.0 2.0
arxctl room save Hall
kill "$first"
wait "$first" || true

# While no ARX ran: a VEL-K unit's gain set to +9 dB at the unit, and unit 5 replaced.
sim set 2 gain 5 quiet
sim rename 5 Seat%2009
sim move 5 127.0.161.30

start_arx --interface 127.0.161.1 --preset-folder "$work" --check-interval 0
click 1200 65 1 2.5 # SEARCH
click 700 25 3 0.6 # right click on the banner: the window menu
import -window root -crop 260x110+690+15 +repage "$images/room-file-menu.png"
xdotool key Escape
sleep 0.3
xdotool key ctrl+o
sleep 1.5
xdotool type --delay 20 "$work/Hall.arxroom"
xdotool key Return
dialog=$(waitWindow '^Room file Hall\.arxroom$')
[[ -n "$dialog" ]] || fail "the comparison did not open"
xdotool windowmove "$dialog" 0 0
sleep 0.8
click 300 113 1 0.8 # the row of unit 2: its fields below the table
park
import -window "$dialog" "$images/room-file.png"
cp "$images/room-file.png" "$root/docs/room-file.png"

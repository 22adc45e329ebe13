#!/usr/bin/env bash
# Takes the manual's picture of a room check (images/room-check.png beside this script, and
# docs/room-check.png): a simulated room of eight units on 127.0.141.0/24 in which one unit
# changed a setting without reporting it and another fell silent, ARX on 127.0.141.1, CHECK
# pressed, and the pointer resting on the mark of the unit that differs.
#   src/resources/manual/take-check-screenshot.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import).
set -euo pipefail

. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1600x1000x24 "$@"

start_sim --logs --subnet 127.0.141.0 --units 8 --level-rate 8 --no-processor --control 0

start_arx --interface 127.0.141.1 --check-interval 0

click 1200 65 1 2 # SEARCH
sim set 2 gain 4 quiet # a VEL-K unit: +6 dB at the unit, while ARX still shows 0 dB
sim silent 4 on
click 54 105 1 3.5 # CHECK, then the 2 s in which every unit must answer
# The mark of unit 2 (strip 1): the page starts at (0, 120), the mark at (379, 143) in it.
xdotool mousemove 410 234
sleep 1.5
import -window root -crop 1280x768+0+0 +repage "$images/room-check.png"
cp "$images/room-check.png" "$root/docs/room-check.png"

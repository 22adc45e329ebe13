#!/usr/bin/env bash
# Takes the manual's picture of a selection of strips (images/mic-selection.png beside this
# script, and docs/mic-selection.png): a simulated room of eight units of every family on
# 127.0.171.0/24, ARX on 127.0.171.1, the first four strips selected (a click on the first
# picture, Shift+click on the fourth) and 48V switched on for the selection, which the VEL-K
# and PXL2 units lack.
#   src/resources/manual/take-selection-screenshot.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import).
set -euo pipefail

. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1600x1000x24 "$@"

start_sim --logs --subnet 127.0.171.0 --units 8 --level-rate 8 --no-processor --control 0
# 48V off on both ARN1 units of the selection, so that the click switches it on.
sim set 1 phantom 0 quiet
sim set 4 phantom 0 quiet
start_arx --interface 127.0.171.1 --check-interval 0

click 1200 65 1 2 # SEARCH
# The page starts at (0, 120); strip k at y = 10 + 80 k in it, its picture at (10, 5) and
# its 48V switch at (160, 45).
picture_y() { echo $((120 + 10 + 80 * $1 + 5 + 12)); }
click 27 "$(picture_y 0)"
xdotool keydown shift
click 27 "$(picture_y 3)"
xdotool keyup shift
click 177 $((120 + 10 + 45 + 10)) # 48V on the first strip: for every selected unit
park
import -window root -crop 1280x768+0+0 +repage "$images/mic-selection.png"
cp "$images/mic-selection.png" "$root/docs/mic-selection.png"

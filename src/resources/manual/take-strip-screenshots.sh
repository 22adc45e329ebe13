#!/usr/bin/env bash
# Takes the screenshots of the manual's strip section (images/strips-*.png beside this
# script) and docs/mic-page.png: a simulated room of every family on 127.0.51.0/24, ARX on
# 127.0.51.1, clicked through with xdotool on a display of its own.
#   src/resources/manual/take-strip-screenshots.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import, convert).
set -euo pipefail

PARK_PAUSE=0.3
. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1600x1000x24 "$@"

# Every family, twice over for the ones with a COPY partner.
start_sim --logs --subnet 127.0.51.0 --units 1,2,3,4,5,3,1,2 --level-rate 8 --no-processor

start_arx --interface 127.0.51.1

# The page starts at (0, 120); strip k's controls sit at (5 + x, 130 + 80 k + y).
strip() { echo $((130 + 80 * $1)); }

click 1200 65 1 1.5 # SEARCH
click $((5 + 55 + 12)) $(($(strip 1) + 45 + 10)) # mute on unit 2
click $((5 + 90 + 12)) $(($(strip 2) + 45 + 10)) # low cut on unit 3
park
sleep 0.5
import -window "$window" -crop 960x640+0+120 +repage "$images/strips-mic-page.png"
import -window "$window" "$root/docs/mic-page.png"
import -window "$window" -crop 950x84+3+288 +repage "$images/strips-pxl2.png"

# The OPEN colour of unit 3, a PXL2 unit: its palette.
click $((5 + 525 + 25)) $(($(strip 2) + 45 + 10)) 1 0.8
xdotool mousemove $((5 + 525 + 60)) $(($(strip 2) + 160)); sleep 0.4
import -window root -crop 330x260+420+290 +repage "$images/strips-palette.png"
xdotool key Escape
sleep 0.3

#!/usr/bin/env bash
# Takes the manual's speaker page screenshots (images/speaker-*.png beside this script) and
# docs/speaker-page.png: an emulated processor on 127.0.71.0/24, ARX on 127.0.71.1, driven
# with xdotool on a display of its own.
#   src/resources/manual/take-speaker-screenshots.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import).
set -euo pipefail

CLICK_PAUSE=0.4 PARK_PAUSE=0.3
. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1600x1000x24 "$@"

start_sim --logs --subnet 127.0.71.0 --units 0

start_arx --interface 127.0.71.1

# The page starts at y 120.
wheel() { xdotool mousemove "$1" "$2"; for _ in $(seq "$4"); do xdotool click "$3"; sleep 0.05; done; sleep 0.3; }
shoot() { import -window "$window" "$images/$1"; }
# The page area alone.
shootPage() { import -window "$window" -crop 960x638+0+120 +repage "$images/$1"; }

click 360 75 # SPEAKER
park
shootPage speaker-offline.png

click 1200 65 1 1.2 # SEARCH: the processor answers and is listed
xdotool mousemove 1000 160 click --repeat 2 --delay 80 1 # double click on its row
sleep 1.5
park

# A two-way setting: channel A (the high speaker) from 2 kHz up, channel B (the low
# speaker) below 2 kHz, both Linkwitz, with a cut in A and a boost in B.
# Knob centres: page x + 45, window y = 120 + page y + 10; wheel button 4 steps up, 5 down.
# A click on a knob's middle asks for a number.
enter() { click "$1" "$2" 1 0.8; xdotool key ctrl+a; xdotool type --delay 40 "$3"; xdotool key Return; sleep 0.5; }
wheel 165 280 5 40  # A band 3 gain down to -4.0 dB
enter 285 280 3500  # at 3500 Hz
wheel 625 230 4 50  # B band 1 gain up to +5.0 dB
enter 725 230 60    # at 60 Hz
click 165 405 1 0.5 # A high-pass type: the list opens under it, 25 pixels an entry
click 165 500 1 0.6 # "Linkwitz 2"
enter 285 405 2000  # A high-pass at 2000 Hz
click 625 430 1 0.5 # B low-pass type
click 625 525 1 0.6 # "Linkwitz 2"
enter 725 430 2000  # B low-pass at 2000 Hz
click 625 405 1 0.5 # B high-pass type
click 625 526 1 0.6 # "Variable"
enter 725 405 35    # at 35 Hz
wheel 835 405 4 6   # its Q from 0.1 up to 0.7
click 150 640 1 0.3 # the name
xdotool type --delay 40 "Hall Main"
click 280 640 1 0.6 # its OK
park
shoot speaker-page.png
shootPage speaker-connected.png
cp "$images/speaker-page.png" "$root/docs/speaker-page.png"

click 660 682 1 1.0 # RESPONSE
park
response=$(visibleWindow '^Speaker response$')
[[ -n "$response" ]] || fail "no response window"
import -window "$response" "$images/speaker-response.png"

echo "take-speaker-screenshots: images in $images, docs/speaker-page.png updated" >&2

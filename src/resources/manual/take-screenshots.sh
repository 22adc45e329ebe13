#!/usr/bin/env bash
# Takes the manual's screenshots (images/ beside this script) and docs/main-window.png: a
# simulated room on 127.0.11.0/24, ARX on 127.0.11.1, clicked through with xdotool on a
# display of its own.
#   src/resources/manual/take-screenshots.sh [BUILD_DIR]
# Needs xvfb-run, xdotool, ImageMagick (import, convert) and python3.
set -euo pipefail

. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1600x1000x24 "$@"

# The room first: ARX must not search before it listens.
start_sim --logs --subnet 127.0.11.0 --units 8 --level-rate 2

start_arx --interface 127.0.11.1

shoot() { import -window "$window" "$images/$1"; }
# The right half of the window, from the banner to just under the processor list.
shootProcessors() { import -window "$window" -crop 640x330+640+0 +repage "$images/$1"; }
shootWindow() {
    local id
    id=$(visibleWindow "$1")
    [[ -n "$id" ]] || fail "no window \"$1\" for $2"
    import -window "$id" "$images/$2"
}

park
shoot start.png

click 1200 65 1 1.2 # SEARCH
park
shoot units.png
cp "$images/units.png" "$root/docs/main-window.png"

click 360 75 # SPEAKER
park
shootProcessors processors.png
xdotool mousemove 1000 160 click --repeat 2 --delay 80 1 # double click on the processor
sleep 1.2
park
shootProcessors connected.png

click 1080 293 # the address field
xdotool type --delay 30 "192.168.0"
click 1240 293 1 0.8 # Add
shootWindow '^ARX$' bad-address.png
xdotool key Return
sleep 0.4

click 700 25 3 0.6 # right click on the banner
import -window root -crop 260x110+690+15 +repage "$images/banner-menu.png"
xdotool key Down Return
sleep 0.8
shootWindow '关于 ARX1.2' about.png
xdotool key Return

# The emulator's output: its start-up line and the first frames of the search, one line
# each with the log's time, direction, device, addresses and meaning.
cat >"$work/shorten.py" <<'EOF'
import json, sys
for line in sys.stdin:
    f = json.loads(line)
    print("{}  {:<3}  {:<9}  {:>20} -> {:<20}  {}".format(f["time"][11:23], f["direction"],
          f["device"], f["from"], f["to"], f["meaning"]))
EOF
{
    echo "\$ build/bin/arx-sim --subnet 127.0.11.0 --units 8"
    cat "$work/sim.err"
    head -n 14 "$work/sim.log" | python3 "$work/shorten.py"
} >"$work/terminal.txt"
terminal_image "$work/terminal.txt" "$images/emulator.png"

echo "take-screenshots: images in $images, docs/main-window.png updated" >&2

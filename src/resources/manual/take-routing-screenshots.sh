#!/usr/bin/env bash
# Takes the routing page's and the network settings dialog's screenshots: the manual's
# images/routing-page.png and images/routing-network-dialog.png, and their copies
# docs/routing-page.png and docs/network-dialog.png. A simulated room on 127.0.111.0/24,
# ARX on 127.0.111.1, clicked through with xdotool on a display of its own.
#   src/resources/manual/take-routing-screenshots.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import).
set -euo pipefail

. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1600x1000x24 "$@"

start_sim --logs --subnet 127.0.111.0 --units 6 --level-rate 2

start_arx --interface 127.0.111.1

click 1200 65 1 1.2 # SEARCH
click 600 75        # ROUTING
park
import -window "$window" "$images/routing-page.png"
cp "$images/routing-page.png" "$root/docs/routing-page.png"

xdotool mousemove 1100 200 click --repeat 2 --delay 80 1 # double click on the second device
sleep 1
dialog=$(visibleWindow '^网络设置$')
[[ -n "$dialog" ]] || fail "the network settings dialog did not open"
geometry=$(xdotool getwindowgeometry "$dialog" | sed -n 's/ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
read -r dx dy <<<"$geometry"
click $((dx + 40)) $((dy + 90)) # "Static IP"
xdotool mousemove $((dx + 140)) $((dy + 290)) # hover over OK
sleep 0.4
import -window "$dialog" "$images/routing-network-dialog.png"
cp "$images/routing-network-dialog.png" "$root/docs/network-dialog.png"

echo "take-routing-screenshots: routing images in $images and docs/ updated" >&2

#!/usr/bin/env bash
# Takes the MIC page's empty states (images/ beside this script, and docs/): the window right
# after start, and after a search that no unit answers. ARX runs on 127.0.11.1 with no room
# beside it, on a display of its own.
#   src/resources/manual/take-empty-screenshots.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import).
set -euo pipefail

. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1600x1000x24 "$@"

start_arx --interface 127.0.11.1
park
import -window "$window" "$images/empty-start.png"

click 1200 65 1 4 # SEARCH, then more than the 3 s after which the page says what to check
park
import -window "$window" "$images/empty-search.png"

cp "$images/empty-start.png" "$root/docs/empty-start.png"
cp "$images/empty-search.png" "$root/docs/empty-search.png"

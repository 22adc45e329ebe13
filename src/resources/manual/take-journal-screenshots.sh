#!/usr/bin/env bash
# Takes the journal's screenshots: images/journal.png beside this script and docs/journal.png.
# A simulated room on 127.0.101.0/24, ARX on 127.0.101.1 with --journal, a search and a
# processor connection clicked through with xdotool, then the journal opened with Ctrl+J.
#   src/resources/manual/take-journal-screenshots.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import).
set -euo pipefail

. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1600x1000x24 "$@"

start_sim --subnet 127.0.101.0 --units 6 --level-rate 1 --quiet

start_arx --interface 127.0.101.1 --journal "$work/journal.jsonl"

click 1200 65 1 1.5 # SEARCH
click 360 75        # SPEAKER
xdotool mousemove 1000 160 click --repeat 2 --delay 80 1 # connect to the processor
sleep 1.5
xdotool mousemove 600 400 key ctrl+j
journal=$(waitWindow '^ARX journal$')
[[ -n "$journal" ]] || fail "the journal did not open"
sleep 1.5
# Level reports hidden, so that the search, the answers and the connection show.
xdotool mousemove 1040 22 click 1
sleep 0.5
xdotool mousemove 1590 990
sleep 0.3
import -window "$journal" "$images/journal.png"
cp "$images/journal.png" "$root/docs/journal.png"
[[ -z "${ARX_JOURNAL_COPY:-}" ]] || cp "$work/journal.jsonl" "$ARX_JOURNAL_COPY"

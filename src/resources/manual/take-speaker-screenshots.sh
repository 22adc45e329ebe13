#!/usr/bin/env bash
# Takes the manual's speaker page screenshots (images/speaker-*.png beside this script) and
# docs/speaker-page.png: an emulated processor on 127.0.71.0/24, ARX on 127.0.71.1, driven
# with xdotool on a display of its own.
#   src/resources/manual/take-speaker-screenshots.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
images="$here/images"
mkdir -p "$images"

if [[ -z "${ARX_SCREENSHOT_DISPLAY:-}" ]]; then
    exec env ARX_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$build"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

"$build/bin/arx-sim" --subnet 127.0.71.0 --units 0 --ready-fd 3 \
    >"$work/sim.log" 2>"$work/sim.err" 3>"$work/ready" &
pids+=($!)
for _ in $(seq 100); do grep -q '^ready' "$work/ready" && break; sleep 0.05; done

"$build/bin/arx" --interface 127.0.71.1 2>/dev/null &
pids+=($!)
visibleWindow() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true; }
window=""
for _ in $(seq 100); do
    window=$(visibleWindow '^ARX 1\.2$')
    [[ -n "$window" ]] && break
    sleep 0.05
done
if [[ -z "$window" ]]; then
    echo "take-speaker-screenshots: ARX did not open its window" >&2
    exit 1
fi
sleep 1

# Window coordinates: with no window manager the window sits at the top left. The page
# starts at y 120.
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep "${4:-0.4}"; }
wheel() { xdotool mousemove "$1" "$2"; for _ in $(seq "$4"); do xdotool click "$3"; sleep 0.05; done; sleep 0.3; }
park() { xdotool mousemove 1500 950; sleep 0.3; }
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
if [[ -z "$response" ]]; then
    echo "take-speaker-screenshots: no response window" >&2
    exit 1
fi
import -window "$response" "$images/speaker-response.png"

echo "take-speaker-screenshots: images in $images, docs/speaker-page.png updated" >&2

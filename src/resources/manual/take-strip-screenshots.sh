#!/usr/bin/env bash
# Takes the screenshots of the manual's strip section (images/strips-*.png beside this
# script) and docs/mic-page.png: a simulated room of every family on 127.0.51.0/24, ARX on
# 127.0.51.1, clicked through with xdotool on a display of its own.
#   src/resources/manual/take-strip-screenshots.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import, convert).
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

# Every family, twice over for the ones with a COPY partner.
"$build/bin/arx-sim" --subnet 127.0.51.0 --units 1,2,3,4,5,3,1,2 --level-rate 8 --no-processor \
    --ready-fd 3 >"$work/sim.log" 2>"$work/sim.err" 3>"$work/ready" &
pids+=($!)
for _ in $(seq 100); do grep -q '^ready' "$work/ready" && break; sleep 0.05; done

"$build/bin/arx" --interface 127.0.51.1 2>/dev/null &
pids+=($!)
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^ARX 1\.2$' 2>/dev/null | head -1 || true)
    [[ -n "$window" ]] && break
    sleep 0.05
done
if [[ -z "$window" ]]; then
    echo "take-strip-screenshots: ARX did not open its window" >&2
    exit 1
fi
sleep 1

# Window coordinates: with no window manager the window sits at the top left. The page
# starts at (0, 120); strip k's controls sit at (5 + x, 130 + 80 k + y).
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.6}"; }
park() { xdotool mousemove 1500 950; sleep 0.3; }
strip() { echo $((130 + 80 * $1)); }

click 1200 65 1.5 # SEARCH
click $((5 + 55 + 12)) $(($(strip 1) + 45 + 10)) # mute on unit 2
click $((5 + 90 + 12)) $(($(strip 2) + 45 + 10)) # low cut on unit 3
park
sleep 0.5
import -window "$window" -crop 960x640+0+120 +repage "$images/strips-mic-page.png"
import -window "$window" "$root/docs/mic-page.png"
import -window "$window" -crop 950x84+3+288 +repage "$images/strips-pxl2.png"

# The OPEN colour of unit 3, a PXL2 unit: its palette.
click $((5 + 525 + 25)) $(($(strip 2) + 45 + 10)) 0.8
xdotool mousemove $((5 + 525 + 60)) $(($(strip 2) + 160)); sleep 0.4
import -window root -crop 330x260+420+290 +repage "$images/strips-palette.png"
xdotool key Escape
sleep 0.3

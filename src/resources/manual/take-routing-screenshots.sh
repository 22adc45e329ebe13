#!/usr/bin/env bash
# Takes the routing page's and the network settings dialog's screenshots: the manual's
# images/routing-page.png and images/routing-network-dialog.png, and their copies
# docs/routing-page.png and docs/network-dialog.png. A simulated room on 127.0.111.0/24,
# ARX on 127.0.111.1, clicked through with xdotool on a display of its own.
#   src/resources/manual/take-routing-screenshots.sh [BUILD_DIR]
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

"$build/bin/arx-sim" --subnet 127.0.111.0 --units 6 --level-rate 2 --ready-fd 3 \
    >"$work/sim.log" 2>"$work/sim.err" 3>"$work/ready" &
pids+=($!)
for _ in $(seq 100); do grep -q '^ready' "$work/ready" && break; sleep 0.05; done

"$build/bin/arx" --interface 127.0.111.1 2>/dev/null &
pids+=($!)
visibleWindow() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true; }
window=""
for _ in $(seq 100); do
    window=$(visibleWindow '^ARX 1\.2$')
    [[ -n "$window" ]] && break
    sleep 0.05
done
if [[ -z "$window" ]]; then
    echo "take-routing-screenshots: ARX did not open its window" >&2
    exit 1
fi
sleep 1

# Window coordinates: with no window manager the window sits at the top left.
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep "${4:-0.6}"; }
park() { xdotool mousemove 1500 950; sleep 0.2; }

click 1200 65 1 1.2 # SEARCH
click 600 75        # ROUTING
park
import -window "$window" "$images/routing-page.png"
cp "$images/routing-page.png" "$root/docs/routing-page.png"

xdotool mousemove 1100 200 click --repeat 2 --delay 80 1 # double click on the second device
sleep 1
dialog=$(visibleWindow '^网络设置$')
if [[ -z "$dialog" ]]; then
    echo "take-routing-screenshots: the network settings dialog did not open" >&2
    exit 1
fi
geometry=$(xdotool getwindowgeometry "$dialog" | sed -n 's/ *Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
read -r dx dy <<<"$geometry"
click $((dx + 40)) $((dy + 90)) # "Static IP"
xdotool mousemove $((dx + 140)) $((dy + 290)) # hover over OK
sleep 0.4
import -window "$dialog" "$images/routing-network-dialog.png"
cp "$images/routing-network-dialog.png" "$root/docs/network-dialog.png"

echo "take-routing-screenshots: routing images in $images and docs/ updated" >&2

#!/usr/bin/env bash
# Takes the journal's screenshots: images/journal.png beside this script and docs/journal.png.
# A simulated room on 127.0.101.0/24, ARX on 127.0.101.1 with --journal, a search and a
# processor connection clicked through with xdotool, then the journal opened with Ctrl+J.
#   src/resources/manual/take-journal-screenshots.sh [BUILD_DIR]
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

"$build/bin/arx-sim" --subnet 127.0.101.0 --units 6 --level-rate 1 --quiet --ready-fd 3 \
    3>"$work/ready" &
pids+=($!)
for _ in $(seq 100); do grep -q '^ready' "$work/ready" && break; sleep 0.05; done

"$build/bin/arx" --interface 127.0.101.1 --journal "$work/journal.jsonl" 2>/dev/null &
pids+=($!)
visibleWindow() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true; }
window=""
for _ in $(seq 100); do
    window=$(visibleWindow '^ARX 1\.2$')
    [[ -n "$window" ]] && break
    sleep 0.05
done
[[ -n "$window" ]] || { echo "take-journal-screenshots: ARX did not open its window" >&2; exit 1; }
sleep 1

click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep "${4:-0.6}"; }
click 1200 65 1 1.5 # SEARCH
click 360 75        # SPEAKER
xdotool mousemove 1000 160 click --repeat 2 --delay 80 1 # connect to the processor
sleep 1.5
xdotool mousemove 600 400 key ctrl+j
journal=""
for _ in $(seq 100); do
    journal=$(visibleWindow '^ARX journal$')
    [[ -n "$journal" ]] && break
    sleep 0.05
done
[[ -n "$journal" ]] || { echo "take-journal-screenshots: the journal did not open" >&2; exit 1; }
sleep 1.5
# Level reports hidden, so that the search, the answers and the connection show.
xdotool mousemove 1040 22 click 1
sleep 0.5
xdotool mousemove 1590 990
sleep 0.3
import -window "$journal" "$images/journal.png"
cp "$images/journal.png" "$root/docs/journal.png"
[[ -z "${ARX_JOURNAL_COPY:-}" ]] || cp "$work/journal.jsonl" "$ARX_JOURNAL_COPY"

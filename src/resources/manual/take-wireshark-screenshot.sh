#!/usr/bin/env bash
# Takes the Wireshark screenshot: images/wireshark.png beside this script and docs/wireshark.png.
# A simulated room on 127.0.131.0/24, ARX on 127.0.131.1 with --capture, clicked through a
# search, a strip change and a preset saved and recalled (with one band changed before the
# processor was connected), then the capture opened in Wireshark with the dissector, that
# band's frame of the recall chosen and its fields shown.
#   src/resources/manual/take-wireshark-screenshot.sh [BUILD_DIR]
# Needs xvfb-run, xdotool and ImageMagick (import); installs Debian's wireshark when missing.
set -euo pipefail

. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1600x1000x24 "$@"

if ! command -v wireshark >/dev/null; then
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends wireshark
fi
dissector="$root/packaging/wireshark/arx.lua"
capture="$work/arx.pcap"

start_sim --subnet 127.0.131.0 --units 1,2,3 --level-rate 0 --quiet
start_arx --interface 127.0.131.1 --capture "$capture"
arx=${pids[-1]}

# Types a file name into the file dialog that has just opened, and takes it.
fileName() { sleep 1; xdotool type --delay 20 "$1"; xdotool key Return; sleep 1; }

click 1200 65 1 1.5 # SEARCH
click 72 185 # mute on the first strip
click 360 75 # SPEAKER
# Channel A's band 3 down to -4.0 dB while not connected (nothing is sent): the preset's mark.
xdotool mousemove 165 280
for _ in $(seq 40); do xdotool click 5; sleep 0.05; done
xdotool mousemove 1000 160 click --repeat 2 --delay 80 1 # connect to the processor
sleep 1.5
click 220 682 # SAVE
fileName "$work/hall.box"
click 340 682 # RECALL: asks first, then which file, then says it is done
xdotool key Return
fileName "$work/hall.box"
sleep 2 # the recall's 24 frames, 50 ms apart
xdotool key Return
sleep 0.5
kill "$arx"

# The recall's frame of channel A's band 3, chosen in the packet list.
frame=$(tshark -n -r "$capture" -X lua_script:"$dissector" \
    -Y 'arx.proc.command == 0x01 && arx.proc.channel == 0 && arx.proc.band == 3' \
    -T fields -e frame.number 2>/dev/null | head -1)
[[ -n "$frame" ]] || fail "the capture holds no recall"
# Without the bytes pane, so that the frame's fields have room.
wireshark -X lua_script:"$dissector" -o gui.layout_content_3:NONE -r "$capture" -g "$frame" \
    >/dev/null 2>&1 &
pids+=($!)
shark=$(waitWindow 'arx\.pcap')
[[ -n "$shark" ]] || fail "Wireshark did not open the capture"
sleep 3
xdotool windowmove "$shark" 0 0 windowsize "$shark" 1600 1000
sleep 1
# The details' last line is the ARX frame: opened with its subtrees.
click 300 545 1 0.3
xdotool key End shift+Right
sleep 0.3
# The packet list from its first row: the search, the strip change, the recall.
xdotool mousemove 800 300
for _ in $(seq 15); do xdotool click 4; sleep 0.05; done
xdotool mousemove 1599 999
sleep 1
import -window root "$images/wireshark.png"
cp "$images/wireshark.png" "$root/docs/wireshark.png"
echo "take-wireshark-screenshot: $images/wireshark.png, docs/wireshark.png" >&2

#!/usr/bin/env bash
# Takes the manual's equaliser picture (images/equaliser.png) and docs/equaliser.png: a
# simulated PXL2 unit on 127.0.61.0/24, ARX's equaliser on 127.0.61.1, on a display of its
# own.
#   src/resources/manual/take-equaliser-screenshot.sh [BUILD_DIR]
# Needs xvfb-run.
set -euo pipefail

. "$(dirname "$0")/screenshot-lib.sh"
screenshot_start 1366x768x24 "$@"

start_sim --subnet 127.0.61.0 --units 3, --level-rate 0 --quiet

"$build/bin/arx-equaliser-shot" --interface 127.0.61.1 --output "$here/images/equaliser.png"
cp "$here/images/equaliser.png" "$root/docs/equaliser.png"

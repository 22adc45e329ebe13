#!/usr/bin/env bash
# Takes the manual's equaliser picture (images/equaliser.png) and docs/equaliser.png: a
# simulated PXL2 unit on 127.0.61.0/24, ARX's equaliser on 127.0.61.1, on a display of its
# own.
#   src/resources/manual/take-equaliser-screenshot.sh [BUILD_DIR]
# Needs xvfb-run.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

if [[ -z "${ARX_SCREENSHOT_DISPLAY:-}" ]]; then
    exec env ARX_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1366x768x24" "$0" "$build"
fi

work=$(mktemp -d)
sim=""
cleanup() {
    [[ -n "$sim" ]] && kill "$sim" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

"$build/bin/arx-sim" --subnet 127.0.61.0 --units 3, --level-rate 0 --quiet --ready-fd 3 \
    3>"$work/ready" &
sim=$!
for _ in $(seq 100); do grep -q '^ready' "$work/ready" && break; sleep 0.05; done

mkdir -p "$here/images"
"$build/bin/arx-equaliser-shot" --interface 127.0.61.1 --output "$here/images/equaliser.png"
cp "$here/images/equaliser.png" "$root/docs/equaliser.png"

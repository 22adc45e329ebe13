#!/usr/bin/env bash
# Rewrites the dissector test's fixture, tests/journal/captures/tour.pcap and tour.jsonl: ARX
# (arx-capture-tour) with a capture and a journal against arx-sim on 127.0.131.0/24, through
# every kind of frame it sends and receives.
#   tests/journal/make-capture-fixture.sh [BUILD_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
cmake --build "$build" --target arx-capture-tour >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$build/bin/arx-capture-tour" 127.0.131 "$work"
mkdir -p "$here/captures"
cp "$work/capture.pcap" "$here/captures/tour.pcap"
cp "$work/journal.jsonl" "$here/captures/tour.jsonl"
echo "make-capture-fixture: $(wc -l <"$here/captures/tour.jsonl") datagrams in $here/captures" >&2

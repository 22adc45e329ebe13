#pragma once

namespace arx {

// The three zones of a spin knob, numbered as the knob's hot zone is: the left steps down,
// the right steps up, the middle opens the numeric entry.
enum class KnobZone { None = 0, Left = 1, Middle = 2, Right = 3 };

// Where the zones of a knob `width` x `height` pixels lie. The side zones are each
// width / 5.5 wide, boundaries truncated: 0..15, 16..73 and 74..90 for the 91-pixel knob.
struct KnobZones {
    int width = 0;
    int height = 0;
    int middleStart = 0; // first pixel of the middle zone
    int rightStart = 0; // first pixel of the right zone

    static KnobZones forSize(int width, int height);

    // The zone under the point (x, y), or None outside the knob.
    KnobZone zoneAt(int x, int y) const;
};

} // namespace arx

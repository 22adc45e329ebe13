#include "format/KnobZones.h"

namespace arx {

KnobZones KnobZones::forSize(int width, int height)
{
    const double side = width / 5.5;
    return KnobZones { width, height, static_cast<int>(side), static_cast<int>(width - side) };
}

KnobZone KnobZones::zoneAt(int x, int y) const
{
    if (y < 0 || y >= height || x < 0 || x >= width)
        return KnobZone::None;
    if (x >= middleStart && x < rightStart)
        return KnobZone::Middle;
    return x < middleStart ? KnobZone::Left : KnobZone::Right;
}

} // namespace arx

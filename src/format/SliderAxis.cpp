#include "format/SliderAxis.h"

#include <algorithm>
#include <limits>

namespace arx {

namespace {

int saturated(long long value)
{
    return static_cast<int>(std::clamp<long long>(
        value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

int SliderAxis::pixelOf(int position) const
{
    const long long span = static_cast<long long>(maximum) - minimum;
    if (span <= 0 || travel() <= 0)
        return firstPixel();
    const long long offset = static_cast<long long>(clampPosition(position)) - minimum;
    return firstPixel() + saturated(offset * travel() / span);
}

int SliderAxis::positionOf(int pixel) const
{
    const long long span = static_cast<long long>(maximum) - minimum;
    if (span <= 0 || travel() <= 0)
        return minimum;
    const long long offset = static_cast<long long>(pixel) - firstPixel();
    return saturated(minimum + offset * span / travel());
}

int SliderAxis::clampPixel(int pixel) const
{
    return std::max(firstPixel(), std::min(pixel, lastPixel()));
}

int SliderAxis::clampPosition(int position) const
{
    return std::max(minimum, std::min(position, maximum));
}

} // namespace arx

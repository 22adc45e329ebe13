#include "controls/HeaderGradient.h"

#include <algorithm>

namespace arx {

namespace {
int darkened(int component, int step, int line)
{
    const long long value = component - static_cast<long long>(step) * line;
    return static_cast<int>(std::clamp<long long>(value, 0, 255));
}
} // namespace

Rgb headerGradientLine(Rgb base, int step, int line)
{
    return { darkened(base.red, step, line), darkened(base.green, step, line),
        darkened(base.blue, step, line) };
}

} // namespace arx

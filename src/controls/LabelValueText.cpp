#include "controls/LabelValueText.h"

#include <cmath>
#include <cstdio>

namespace arx {

std::string labelValueText(const LabelValueFormat &format, double value)
{
    const bool off = (format.offMode == 1 && value == format.firstOffValue)
        || (format.offMode == 2 && value == format.secondOffValue);
    if (off)
        return format.prefix + "OFF";

    // A divisor of 0 would show "inf"; such a label shows the raw value instead.
    const double divisor = format.divisor != 0.0 ? format.divisor : 1.0;
    double shown = value / divisor - format.offset;
    if (shown == 0.0)
        shown = 0.0; // no "-0"
    char number[64];
    // Negative numbers keep their fraction too: -1.5 must not read as -1.
    if (std::trunc(shown) != shown)
        std::snprintf(number, sizeof number, "%0.1f", shown);
    else
        std::snprintf(number, sizeof number, "%.0f", shown);
    return format.prefix + number + format.suffix;
}

} // namespace arx

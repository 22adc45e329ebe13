#include "format/ValueFormat.h"

#include <cstdio>

namespace arx {

namespace {

template <class... Args> std::string print(const char *format, Args... args)
{
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

} // namespace

std::string formatValue(ValueKind kind, int value)
{
    // Computed in double precision as the devices' own panels do, so that the same code
    // always reads the same.
    const double v = value;
    const long long wide = value; // so that shifting the extreme codes cannot overflow
    switch (kind) {
    case ValueKind::Frequency:
    case ValueKind::FrequencyBelowPartner:
    case ValueKind::FrequencyAbovePartner:
        return print("%dHz", value);
    case ValueKind::Q:
        return print("Q:%0.1f", v * 0.1);
    case ValueKind::Gain:
        return print("G:%0.1f", v * 0.1 - 15);
    case ValueKind::SpeakerGain:
        return print("G:%0.1f", v * 0.1 - 18);
    case ValueKind::Level:
        return print("Vol:%0.1f", 24 - v * 0.5);
    case ValueKind::LevelDbu:
        return value == 0 ? std::string("OFF") : print("%llddBu", wide - 120);
    case ValueKind::Delay:
        return value > 480 ? print("%dms", value - 470) : print("%0.3fms", v / 48);
    case ValueKind::Percentage:
        return value <= 0 ? std::string("OFF") : print("%0.1f%%", v);
    case ValueKind::Threshold:
        return print("%llddB", -wide);
    case ValueKind::Attack:
    case ValueKind::Release:
        return print("%dms", value);
    case ValueKind::Ratio:
        return print("1:%0.1f", v * 0.1);
    case ValueKind::None:
        break;
    }
    return "NULL";
}

} // namespace arx

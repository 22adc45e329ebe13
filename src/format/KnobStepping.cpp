#include "format/KnobStepping.h"

#include <algorithm>
#include <limits>

namespace arx {

bool stepsValue(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Frequency:
    case ValueKind::Q:
    case ValueKind::FrequencyBelowPartner:
    case ValueKind::FrequencyAbovePartner:
    case ValueKind::Gain:
    case ValueKind::Level:
    case ValueKind::SpeakerGain:
    case ValueKind::LevelDbu:
    case ValueKind::Delay:
    case ValueKind::Percentage:
    case ValueKind::Threshold:
    case ValueKind::Attack:
    case ValueKind::Release:
    case ValueKind::Ratio:
        return true;
    case ValueKind::None:
        break;
    }
    return false;
}

bool acceleratesWhileHeld(ValueKind kind)
{
    return kind == ValueKind::Frequency || kind == ValueKind::FrequencyBelowPartner
        || kind == ValueKind::FrequencyAbovePartner;
}

int steppedValue(ValueKind kind, int value, int delta, const KnobLimits &limits)
{
    long long next = static_cast<long long>(value) + delta;
    if (limits.partner) {
        if (kind == ValueKind::FrequencyBelowPartner)
            next = std::min<long long>(next, *limits.partner);
        else if (kind == ValueKind::FrequencyAbovePartner)
            next = std::max<long long>(next, *limits.partner);
    }
    next = std::max<long long>(next, limits.minimum);
    next = std::min<long long>(next, limits.maximum);
    return static_cast<int>(next);
}

} // namespace arx

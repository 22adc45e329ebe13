#include "model/UnitCheck.h"

#include <cstdio>

namespace arx {

const char *unitCheckStateText(UnitCheckState state)
{
    switch (state) {
    case UnitCheckState::Answering:
        return "answering";
    case UnitCheckState::NotResponding:
        return "not responding";
    case UnitCheckState::Differs:
        return "differs";
    case UnitCheckState::Same:
        break;
    }
    return "same";
}

std::string lastHeardText(const UnitCheck &check)
{
    char text[24];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", check.lastHeard.hour, check.lastHeard.minute,
        check.lastHeard.second);
    return text;
}

} // namespace arx

#pragma once

#include "format/ValueKind.h"

#include <string>

namespace arx {

// The text a knob shows for the code `value` of its kind, for example "1000Hz", "G:0.0",
// "OFF" or "1:2.0". Kinds without a format give "NULL".
std::string formatValue(ValueKind kind, int value);

} // namespace arx

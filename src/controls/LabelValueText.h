#pragma once

#include <string>

namespace arx {

// How a label composes its text from a number: prefix, number, suffix, or prefix and "OFF"
// when the raw value is the chosen OFF value.
struct LabelValueFormat {
    std::string prefix; // UTF-8
    std::string suffix; // UTF-8
    double divisor = 1.0;
    double offset = 0.0;
    int offMode = 0; // 0 never OFF; 1 OFF at firstOffValue; 2 OFF at secondOffValue
    double firstOffValue = 1.0;
    double secondOffValue = 10.0;
};

// The shown number is value / divisor - offset, with one decimal when it has a fractional
// part and as a whole number otherwise: 15 / 10 gives "1.5", 20 / 10 gives "2".
std::string labelValueText(const LabelValueFormat &format, double value);

} // namespace arx

#pragma once

#include <cstdint>
#include <string>

namespace arx {

// A unit's setting codes in the words and units the pages show. Codes outside their lists are
// shown as numbers, never dropped.

std::string onOff(int value); // "off", "on", or the number
std::string signedDb(int db); // "+6dB", "0dB", "-6dB"
std::string tenthsDb(int tenths); // "+1.5 dB", "-3.0 dB", "0.0 dB"
// A Q code with `scale` steps per unit (10 or 100), with as many decimals as the code has.
std::string qText(int code, int scale);
// A unit's gain code by its type: ARN1 keeps the list index (0..+15 dB in 3 dB steps), VEL-K
// the index from -6 dB, PXL2 the dB value itself.
std::string gainText(std::int32_t unitType, int code);
std::string modeText(int code); // "OFF", "ON", "PTT", "PTM"
std::string colourIndexText(int code); // "red"
std::string colourRgbText(int value); // "#FF0000" for a 24-bit colour kept red in the low byte
std::string shapeText(int shape); // "peaking", "low shelf", "high shelf"
// A microphone equaliser band's gain code (dB x 10 + 300).
std::string micEqGainText(int code);

} // namespace arx

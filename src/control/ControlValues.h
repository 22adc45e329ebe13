#pragma once

#include "model/DeviceRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace arx {

// The texts of values on the room-control connection: what the window shows, written so that
// a panel can read and write them. Every parser takes a token's text and answers nothing for
// anything that is not exactly a value it accepts.

// ON, OFF, and for a SET also TOGGLE (any case).
enum class SwitchWord { On, Off, Toggle };
std::optional<SwitchWord> parseSwitch(std::string_view text);
const char *switchText(bool on);

// A decimal number with a fixed count of decimals that stands for an integer code:
// code = (sign x units + offset) / divisor, where units counts 10^-decimals. The text must
// land on a code exactly (no rounding) and within minimum..maximum; `unit` may follow the
// number on input ("-6dB", "1000Hz"), any case, and is never written.
struct CodeScale {
    int decimals = 0; // 0 or 1
    int sign = 1;
    int offset = 0;
    int divisor = 1;
    int minimum = 0;
    int maximum = 0;
    const char *unit = "";
};
std::string formatCode(int code, const CodeScale &scale);
std::optional<int> parseCode(std::string_view text, const CodeScale &scale);
// The number a code stands for, counted in 10^-decimals (-1.5 dB is -15 with one decimal),
// and the code a count stands for: nothing when it lands on none. Neither looks at the
// scale's minimum and maximum.
long codeUnits(int code, const CodeScale &scale);
std::optional<long> codeOfUnits(long units, const CodeScale &scale);

// The processor's levels: 24 - 0.5 x code dB, code 0..254.
inline constexpr CodeScale ProcessorLevelScale
    = { .decimals = 1, .sign = -1, .offset = 240, .divisor = 5, .maximum = 254, .unit = "dB" };
// A PXL2 equaliser band: frequency in Hz, gain code = dB x 10 + 300, Q code = Q x 10.
inline constexpr CodeScale EqFrequencyScale = { .minimum = 20, .maximum = 20000, .unit = "Hz" };
inline constexpr CodeScale EqGainScale
    = { .decimals = 1, .offset = 300, .minimum = 150, .maximum = 450, .unit = "dB" };
inline constexpr CodeScale EqQScale = { .decimals = 1, .minimum = 1, .maximum = 1000 };
inline constexpr CodeScale EqLowCutScale = { .minimum = 20, .maximum = 200, .unit = "Hz" };

// A unit's gain as its family's list shows it: "+6dB", "0dB", "-6dB". The parser gives the dB
// value; whether the family's list holds it is the unit controller's to say.
std::string unitGainText(int db);
std::optional<int> parseUnitGain(std::string_view text);

// A light-ring colour: the name of one of the eight colours the indexed families show
// (BLACK, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, LIGHT_BLUE) or #RRGGBB. Both give the
// 24-bit value, red in the low byte. The text of a unit's colour is its name for the indexed
// families and #RRGGBB for PXL2; an index no colour has reads UNKNOWN.
std::optional<std::uint32_t> parseColour(std::string_view text);
std::string colourText(std::int32_t unitType, std::int32_t stored);

// A name given as UTF-8, as the GBK bytes a device takes: nothing when a character has no
// GBK form, a byte is a control character, or the bytes exceed `byteLimit`; `reason` says
// which.
std::optional<std::string> gbkNameOf(
    std::string_view utf8, std::size_t byteLimit, std::string &reason);

// A dotted IPv4 address a single device can have: not 0.x.x.x, multicast, or 240.0.0.0 and
// above (the broadcast address among them).
bool isUnicastIPv4(const std::string &text);

} // namespace arx

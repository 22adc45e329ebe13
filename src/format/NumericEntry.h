#pragma once

#include "format/ValueKind.h"

#include <optional>
#include <string_view>

namespace arx {

// The numeric entry of a knob: the operator sees the code in display units (dB, Hz, Q ...),
// types a number, and the knob takes the code back. Kinds without an entry (the partner
// frequencies, dBu levels, delays, percentages and unknown kinds) give nullopt both ways.

// The number the entry shows for `code`, held in single precision as the entry box keeps it.
std::optional<float> entryFromCode(ValueKind kind, int code);

// The code for the typed number `entry`, truncated toward zero. A result that lies within a
// hair of a whole code counts as that code, so that 2.3 typed into a gain entry gives G:2.3
// and not G:2.2, and confirming an entry unchanged never moves the value. Results beyond the
// range of int saturate; the knob then clamps them to its own range.
std::optional<int> codeFromEntry(ValueKind kind, float entry);

// The number in the operator's text: one finite decimal number with '.' as the decimal
// point, optionally signed and surrounded by blanks, that fits a float. Anything else
// (empty text, letters, "3abc", "1,5", "inf") gives nullopt.
std::optional<float> parseEntry(std::string_view text);

} // namespace arx

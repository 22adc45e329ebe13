#pragma once

#include <array>
#include <cstdint>

namespace arx {

// How many bits of a 5.23 word go out. Commands 1 and 3 have always sent the low 28 bits
// (a negative value then carries 0s in the top nibble); commands 2 and 5 send all 32.
enum class WordWidth { Bits28, Bits32 };

using Fixed5_23 = std::array<std::uint8_t, 4>; // most significant byte first
using Fixed3_21 = std::array<std::uint8_t, 3>; // most significant byte first

// v rounded to single precision, times 2^23, truncated toward zero: the devices' 5.23 word.
// Beyond the 32-bit range the word is held at the 32-bit limits before the 28-bit mask (so a
// 28-bit word keeps its documented wrap from 16 up); NaN goes out as 0.
Fixed5_23 toFixed5_23(double v, WordWidth width);

// As toFixed5_23 with all 32 bits, but from the double itself, without the single-precision
// step (the dynamics averaging words).
Fixed5_23 toFixed5_23FromDouble(double v);

// The units' 24-bit 3.21 word, v in single precision: positive values truncated, negative
// values the two's complement of the rounded magnitude (halves away from zero). Saturates at
// 7F FF FF from +4.0 and at 80 00 00 from -4.0; NaN goes out as 0.
Fixed3_21 toFixed3_21(double v);

} // namespace arx

#include "dsp/FixedPoint.h"

#include <cmath>
#include <limits>

namespace arx {

namespace {

constexpr double TwoTo21 = 2097152.0;
constexpr double TwoTo23 = 8388608.0;
constexpr double TwoTo24 = 16777216.0;

// Truncates toward zero into 32 bits; out-of-range values saturate, NaN becomes 0.
std::int32_t truncateToInt32(double x)
{
    if (std::isnan(x))
        return 0;
    if (x >= 2147483648.0)
        return std::numeric_limits<std::int32_t>::max();
    if (x <= -2147483649.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}

Fixed5_23 bigEndian(std::uint32_t word)
{
    return { static_cast<std::uint8_t>(word >> 24), static_cast<std::uint8_t>(word >> 16),
        static_cast<std::uint8_t>(word >> 8), static_cast<std::uint8_t>(word) };
}

} // namespace

Fixed5_23 toFixed5_23(double v, WordWidth width)
{
    const double x = static_cast<double>(static_cast<float>(v)) * TwoTo23;
    std::uint32_t n = static_cast<std::uint32_t>(truncateToInt32(x));
    if (width == WordWidth::Bits28)
        n &= 0x0FFFFFFFu;
    return bigEndian(n);
}

Fixed5_23 toFixed5_23FromDouble(double v)
{
    return bigEndian(static_cast<std::uint32_t>(truncateToInt32(v * TwoTo23)));
}

Fixed3_21 toFixed3_21(double v)
{
    const double vf = static_cast<float>(v);
    std::uint32_t n = 0; // also for NaN
    if (vf >= 4.0) // a larger magnitude would wrap into a word of the other sign
        n = 0x7FFFFF;
    else if (vf <= -4.0)
        n = 0x800000;
    else if (vf > 0.0)
        n = static_cast<std::uint32_t>(std::trunc(vf * TwoTo21));
    else if (vf <= 0.0) // zero gives 2^24, whose low 24 bits are 0
        n = static_cast<std::uint32_t>(TwoTo24 - std::round(std::fabs(vf) * TwoTo21));
    return { static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8),
        static_cast<std::uint8_t>(n) };
}

} // namespace arx

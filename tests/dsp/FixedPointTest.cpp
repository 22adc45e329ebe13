#include "dsp/FixedPoint.h"

#include "RecordingLink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace arx {
namespace {

using test::hex;

TEST(Fixed3_21, EncodesTheUnitsWord)
{
    const std::pair<double, const char *> rows[] = {
        { 0.0, "00 00 00" }, { -0.0, "00 00 00" }, { 1.0, "20 00 00" }, { -1.0, "E0 00 00" },
        { -2.0, "C0 00 00" }, { 0.1, "03 33 33" }, // positive: truncated
        { -0.1, "FC CC CD" }, // negative: two's complement of the rounded magnitude
        { 1.5 / 2097152, "00 00 01" },
        { -1.5 / 2097152, "FF FF FE" }, // a half rounds away from zero
        { 3.9999, "7F FF 2E" },
        { -3.9999998, "80 00 00" }, // the rounded magnitude reaches the end of the range
    };
    for (const auto &[value, bytes] : rows)
        EXPECT_EQ(hex(toFixed3_21(value)), bytes) << value;
}

TEST(Fixed3_21, SaturatesFromFourInsteadOfWrapping)
{
    const std::pair<double, const char *> rows[] = {
        { 4.0, "7F FF FF" },
        { 5.0, "7F FF FF" },
        { 31.6, "7F FF FF" },
        { -4.0, "80 00 00" },
        { -5.0, "80 00 00" },
        { -100.0, "80 00 00" },
        { std::numeric_limits<double>::infinity(), "7F FF FF" },
        { std::numeric_limits<double>::quiet_NaN(), "00 00 00" },
    };
    for (const auto &[value, bytes] : rows)
        EXPECT_EQ(hex(toFixed3_21(value)), bytes) << value;
}

TEST(Fixed5_23, PositiveWordsAreTheSameInBothWidths)
{
    for (WordWidth width : { WordWidth::Bits28, WordWidth::Bits32 }) {
        EXPECT_EQ(hex(toFixed5_23(1.0, width)), "00 80 00 00");
        EXPECT_EQ(hex(toFixed5_23(0.5, width)), "00 40 00 00");
        EXPECT_EQ(hex(toFixed5_23(0.0, width)), "00 00 00 00");
        EXPECT_EQ(hex(toFixed5_23(0.1, width)), "00 0C CC CC");
    }
}

TEST(Fixed5_23, NegativeWordsLoseTheirTopNibbleIn28Bits)
{
    EXPECT_EQ(hex(toFixed5_23(-1.0, WordWidth::Bits32)), "FF 80 00 00");
    EXPECT_EQ(hex(toFixed5_23(-1.0, WordWidth::Bits28)), "0F 80 00 00");
    EXPECT_EQ(hex(toFixed5_23(-0.5, WordWidth::Bits32)), "FF C0 00 00");
    EXPECT_EQ(hex(toFixed5_23(-0.5, WordWidth::Bits28)), "0F C0 00 00");
    // Truncated toward zero, not floored.
    EXPECT_EQ(hex(toFixed5_23(-1.5 / 8388608, WordWidth::Bits32)), "FF FF FF FF");
}

TEST(Fixed5_23, RoundsToSinglePrecisionFirstUnlessEncodedFromTheDouble)
{
    const double justBelowOne = 1.0 - std::ldexp(1.0, -30);
    EXPECT_EQ(hex(toFixed5_23(justBelowOne, WordWidth::Bits32)), "00 80 00 00") << "float step";
    EXPECT_EQ(hex(toFixed5_23FromDouble(justBelowOne)), "00 7F FF FF") << "double";
    EXPECT_EQ(hex(toFixed5_23(2.0 / 31.0, WordWidth::Bits32)), "00 08 42 10") << "2/31";
}

TEST(Fixed5_23, SaturatesBeyondThirtyTwoBits)
{
    EXPECT_EQ(hex(toFixed5_23(300.0, WordWidth::Bits32)), "7F FF FF FF");
    EXPECT_EQ(hex(toFixed5_23(-300.0, WordWidth::Bits32)), "80 00 00 00");
    EXPECT_EQ(hex(toFixed5_23FromDouble(std::numeric_limits<double>::infinity())), "7F FF FF FF");
    EXPECT_EQ(hex(toFixed5_23(std::numeric_limits<double>::quiet_NaN(), WordWidth::Bits32)),
        "00 00 00 00");
}

} // namespace
} // namespace arx

#include "format/ValueFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

namespace arx {
namespace {

struct FormatRow {
    int kind;
    int value;
    std::string text;
};

std::ostream &operator<<(std::ostream &out, const FormatRow &row)
{
    return out << "kind " << row.kind << " value " << row.value;
}

class FormatTable : public ::testing::TestWithParam<FormatRow> { };

TEST_P(FormatTable, ShowsTheCodeInItsKindsFormat)
{
    const FormatRow &row = GetParam();
    EXPECT_EQ(formatValue(static_cast<ValueKind>(row.kind), row.value), row.text);
}

INSTANTIATE_TEST_SUITE_P(Frequencies, FormatTable,
    ::testing::Values(FormatRow { 4, 20, "20Hz" }, FormatRow { 4, 20000, "20000Hz" },
        FormatRow { 8, 1000, "1000Hz" }, FormatRow { 9, 12000, "12000Hz" }));

INSTANTIATE_TEST_SUITE_P(Tenths, FormatTable,
    ::testing::Values(FormatRow { 7, 20, "Q:2.0" }, FormatRow { 7, 1, "Q:0.1" },
        FormatRow { 7, 1000, "Q:100.0" }, FormatRow { 48, 10, "1:1.0" },
        FormatRow { 48, 2000, "1:200.0" }));

INSTANTIATE_TEST_SUITE_P(Gains, FormatTable,
    ::testing::Values(FormatRow { 10, 150, "G:0.0" }, FormatRow { 10, 0, "G:-15.0" },
        FormatRow { 10, 300, "G:15.0" }, FormatRow { 10, 180, "G:3.0" },
        FormatRow { 10, 149, "G:-0.1" }, FormatRow { 12, 180, "G:0.0" },
        FormatRow { 12, 0, "G:-18.0" }, FormatRow { 12, 300, "G:12.0" },
        FormatRow { 12, 173, "G:-0.7" }));

INSTANTIATE_TEST_SUITE_P(Levels, FormatTable,
    ::testing::Values(FormatRow { 11, 0, "Vol:24.0" }, FormatRow { 11, 254, "Vol:-103.0" },
        FormatRow { 11, 47, "Vol:0.5" }, FormatRow { 42, 0, "OFF" }, FormatRow { 42, 120, "0dBu" },
        FormatRow { 42, 1, "-119dBu" }, FormatRow { 42, 130, "10dBu" }));

INSTANTIATE_TEST_SUITE_P(Delays, FormatTable,
    ::testing::Values(FormatRow { 43, 480, "10.000ms" }, FormatRow { 43, 481, "11ms" },
        FormatRow { 43, 0, "0.000ms" }, FormatRow { 43, 1, "0.021ms" },
        FormatRow { 43, 24, "0.500ms" }, FormatRow { 43, 1000, "530ms" }));

INSTANTIATE_TEST_SUITE_P(Dynamics, FormatTable,
    ::testing::Values(FormatRow { 44, 0, "OFF" }, FormatRow { 44, -5, "OFF" },
        FormatRow { 44, 50, "50.0%" }, FormatRow { 45, 60, "-60dB" }, FormatRow { 45, 0, "0dB" },
        FormatRow { 45, 12, "-12dB" }, FormatRow { 46, 1, "1ms" }, FormatRow { 47, 100, "100ms" }));

INSTANTIATE_TEST_SUITE_P(UnknownKinds, FormatTable,
    ::testing::Values(FormatRow { 0, 5, "NULL" }, FormatRow { 1, 5, "NULL" },
        FormatRow { 13, 5, "NULL" }, FormatRow { 41, 0, "NULL" }, FormatRow { 49, 0, "NULL" },
        FormatRow { -4, 20, "NULL" }));

TEST(ValueFormat, ExtremeCodesFormatWithoutOverflowing)
{
    EXPECT_EQ(formatValue(ValueKind::Threshold, INT_MIN), "2147483648dB");
    EXPECT_EQ(formatValue(ValueKind::LevelDbu, INT_MIN), "-2147483768dBu");
    EXPECT_EQ(formatValue(ValueKind::Frequency, INT_MAX), "2147483647Hz");
}

} // namespace
} // namespace arx

#include "format/NumericEntry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

namespace arx {
namespace {

struct EntryRow {
    int kind;
    float entry;
    int code;
};

std::ostream &operator<<(std::ostream &out, const EntryRow &row)
{
    return out << "kind " << row.kind << " entry " << row.entry;
}

class EntryToCode : public ::testing::TestWithParam<EntryRow> { };

TEST_P(EntryToCode, TurnsTheTypedNumberIntoTheKindsCode)
{
    const EntryRow &row = GetParam();
    EXPECT_EQ(codeFromEntry(static_cast<ValueKind>(row.kind), row.entry), row.code);
}

INSTANTIATE_TEST_SUITE_P(Table, EntryToCode,
    ::testing::Values(
        // Gain: 3 dB is code 180; -20 dB is below the range and left for the knob to clamp.
        EntryRow { 10, 3.0f, 180 }, EntryRow { 10, -20.0f, -50 }, EntryRow { 10, 0.0f, 150 },
        EntryRow { 10, -1.5f, 135 }, EntryRow { 12, 0.0f, 180 }, EntryRow { 12, -18.0f, 0 },
        EntryRow { 12, 3.0f, 210 },
        // Threshold: the sign does not matter.
        EntryRow { 45, -12.0f, 12 }, EntryRow { 45, 12.0f, 12 },
        // Whole-number kinds truncate toward zero.
        EntryRow { 4, 1000.9f, 1000 }, EntryRow { 46, 5.0f, 5 }, EntryRow { 47, 99.99f, 99 },
        EntryRow { 4, -0.5f, 0 },
        // Tenths and halves.
        EntryRow { 7, 2.0f, 20 }, EntryRow { 7, 0.15f, 1 }, EntryRow { 48, 1.0f, 10 },
        EntryRow { 48, 2.35f, 23 }, EntryRow { 11, 24.0f, 0 }, EntryRow { 11, 0.0f, 48 },
        EntryRow { 11, -103.0f, 254 }, EntryRow { 11, 23.75f, 0 }));

// A decimal typed in display units lands on the code it names, although 2.3 is not exact in
// binary: truncation alone would read 2.29999995 as 22 tenths.
INSTANTIATE_TEST_SUITE_P(DecimalsLandOnTheirCode, EntryToCode,
    ::testing::Values(EntryRow { 10, 2.3f, 173 }, EntryRow { 10, -2.3f, 127 },
        EntryRow { 12, 2.3f, 203 }, EntryRow { 48, 2.3f, 23 }, EntryRow { 48, 199.9f, 1999 },
        EntryRow { 7, 2.3f, 23 }, EntryRow { 7, 99.9f, 999 }, EntryRow { 11, 0.1f, 47 }));

TEST(NumericEntry, ConfirmingTheShownNumberKeepsEveryCode)
{
    const struct {
        ValueKind kind;
        int minimum;
        int maximum;
    } knobs[] = {
        { ValueKind::Frequency, 20, 20000 },
        { ValueKind::Q, 1, 1000 },
        { ValueKind::Gain, 0, 300 },
        { ValueKind::SpeakerGain, 0, 300 },
        { ValueKind::Level, 0, 254 },
        { ValueKind::Threshold, 0, 60 },
        { ValueKind::Attack, 1, 100 },
        { ValueKind::Release, 1, 100 },
        { ValueKind::Ratio, 10, 2000 },
    };
    for (const auto &knob : knobs) {
        for (int code = knob.minimum; code <= knob.maximum; ++code) {
            const std::optional<float> shown = entryFromCode(knob.kind, code);
            ASSERT_TRUE(shown.has_value()) << "kind " << int(knob.kind) << " has an entry";
            EXPECT_EQ(codeFromEntry(knob.kind, *shown), code)
                << "kind " << int(knob.kind) << " shown " << *shown << " returns its code";
        }
    }
}

TEST(NumericEntry, ShowsTheCodeInDisplayUnits)
{
    EXPECT_EQ(entryFromCode(ValueKind::Gain, 180), 3.0f);
    EXPECT_EQ(entryFromCode(ValueKind::SpeakerGain, 180), 0.0f);
    EXPECT_EQ(entryFromCode(ValueKind::Q, 20), 2.0f);
    EXPECT_EQ(entryFromCode(ValueKind::Level, 254), -103.0f);
    EXPECT_EQ(entryFromCode(ValueKind::Threshold, 12), -12.0f);
    EXPECT_EQ(entryFromCode(ValueKind::Ratio, 25), 2.5f);
    EXPECT_EQ(entryFromCode(ValueKind::Frequency, 1000), 1000.0f);
}

TEST(NumericEntry, KindsWithoutAnEntryGiveNothingEitherWay)
{
    for (const int kind : { 0, 8, 9, 42, 43, 44, 13, 99 }) {
        EXPECT_EQ(entryFromCode(static_cast<ValueKind>(kind), 100), std::nullopt)
            << "kind " << kind << " shows no entry";
        EXPECT_EQ(codeFromEntry(static_cast<ValueKind>(kind), 1.0f), std::nullopt)
            << "kind " << kind << " takes no entry";
    }
}

TEST(NumericEntry, HugeEntriesSaturateInsteadOfOverflowing)
{
    EXPECT_EQ(codeFromEntry(ValueKind::Frequency, 1e20f), INT_MAX);
    EXPECT_EQ(codeFromEntry(ValueKind::Frequency, -1e20f), INT_MIN);
    EXPECT_EQ(codeFromEntry(ValueKind::Level, -1e30f), INT_MAX);
    EXPECT_EQ(codeFromEntry(ValueKind::Gain, std::numeric_limits<float>::infinity()), std::nullopt);
    EXPECT_EQ(codeFromEntry(ValueKind::Gain, std::nanf("")), std::nullopt);
}

struct ParseRow {
    std::string text;
    std::optional<float> number;
};

std::ostream &operator<<(std::ostream &out, const ParseRow &row)
{
    return out << '"' << row.text << '"';
}

class ParseEntry : public ::testing::TestWithParam<ParseRow> { };

TEST_P(ParseEntry, AcceptsOnlyOneWholeNumber)
{
    EXPECT_EQ(parseEntry(GetParam().text), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Numbers, ParseEntry,
    ::testing::Values(ParseRow { "3", 3.0f }, ParseRow { "-20", -20.0f }, ParseRow { "2.5", 2.5f },
        ParseRow { " 12 ", 12.0f }, ParseRow { "+4", 4.0f }, ParseRow { ".5", 0.5f },
        ParseRow { "5.", 5.0f }, ParseRow { "1e3", 1000.0f }, ParseRow { "-0", -0.0f }));

INSTANTIATE_TEST_SUITE_P(NotNumbers, ParseEntry,
    ::testing::Values(ParseRow { "", std::nullopt }, ParseRow { "   ", std::nullopt },
        ParseRow { "abc", std::nullopt }, ParseRow { "3abc", std::nullopt },
        ParseRow { "1,5", std::nullopt }, ParseRow { "1.2.3", std::nullopt },
        ParseRow { "--3", std::nullopt }, ParseRow { "+-3", std::nullopt },
        ParseRow { "+", std::nullopt }, ParseRow { "-", std::nullopt },
        ParseRow { "1e", std::nullopt }, ParseRow { "inf", std::nullopt },
        ParseRow { "nan", std::nullopt }, ParseRow { "0x10", std::nullopt },
        ParseRow { "1e39", std::nullopt }, ParseRow { "3 4", std::nullopt },
        ParseRow { "３", std::nullopt }));

} // namespace
} // namespace arx

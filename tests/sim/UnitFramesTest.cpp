#include "SimUnit.h"
#include "Wire.h"

#include <gtest/gtest.h>

#include <set>

namespace arxsim {
namespace {

constexpr Ipv4 UnitAddress = 0x7F00050A; // 127.0.5.10
const Endpoint Application { 0x7F000501, UnitPort };

Bytes bytesOf(std::initializer_list<int> values)
{
    Bytes bytes;
    for (int value : values)
        bytes.push_back(static_cast<std::uint8_t>(value));
    return bytes;
}

Bytes frame(char letter, std::initializer_list<int> payload)
{
    Bytes bytes { '%', static_cast<std::uint8_t>(letter) };
    for (int value : payload)
        bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back('#');
    return bytes;
}

SimUnit unitWithKnownValues(int type)
{
    SimUnit unit = makeUnit(1, type, UnitAddress);
    unit.name = "AB";
    unit.code = "12345678";
    unit.settings = { 1, 2, 3, 4, 5, 6 };
    unit.colourOpen = 0x123456;
    unit.colourMute = 0x0000FF;
    unit.colourCall = 7;
    return unit;
}

TEST(UnitAnnouncement, LongArn1CarriesSettingsCodeAndColourBytes)
{
    const Bytes expected = bytesOf({ '%', 'D', 0, 0, 127, 0, 5, 10, 2, 'A', 'B', 1, 2, 3, 4, 5, 6,
        '1', '2', '3', '4', '5', '6', '7', '8', 0x56, 0xFF, 7, '#' });
    EXPECT_EQ(announcement(unitWithKnownValues(1)), expected)
        << "a type-1 announcement is header, name, six settings, code and three colour bytes";
}

TEST(UnitAnnouncement, ShortVelKCarriesFiveSettingsOnly)
{
    const Bytes expected
        = bytesOf({ '%', 'D', 0, 0, 127, 0, 5, 10, 2, 'A', 'B', 1, 2, 4, 5, 6, '#' });
    EXPECT_EQ(announcement(unitWithKnownValues(5)), expected)
        << "a type-5 announcement has no phantom, no code and no colours";
}

struct LengthRow {
    int type;
    char letter;
    std::size_t lengthPastName;
};

void PrintTo(const LengthRow &row, std::ostream *out)
{
    *out << "type" << row.type;
}

class AnnouncementLength : public ::testing::TestWithParam<LengthRow> { };

TEST_P(AnnouncementLength, TellsTheTypeByItsLength)
{
    const LengthRow row = GetParam();
    SimUnit unit = makeUnit(3, row.type, UnitAddress);
    unit.name = "Front row";
    const Bytes bytes = announcement(unit);
    EXPECT_EQ(bytes[1], row.letter) << "type " << row.type << " announces with this letter";
    EXPECT_EQ(bytes.size(), unit.name.size() + row.lengthPastName)
        << "type " << row.type << " announcement is the name length plus this";
    EXPECT_EQ(bytes.back(), '#') << "every announcement ends in '#'";
}

INSTANTIATE_TEST_SUITE_P(EveryType, AnnouncementLength,
    ::testing::Values(LengthRow { 1, 'D', 27 }, LengthRow { 4, 'D', 16 }, LengthRow { 2, 'D', 26 },
        LengthRow { 5, 'D', 15 }, LengthRow { 3, 'H', 77 }));

TEST(UnitAnnouncement, Pxl2PlacesWideColoursEqualiserAndLowCutAfterTheName)
{
    SimUnit unit = unitWithKnownValues(3);
    unit.eqBands[2] = { 1, 2, 2500, 141, 420 };
    unit.eqLowCut = { 1, 150, 4 };
    const Bytes bytes = announcement(unit);
    const std::size_t at = 9 + unit.name.size();
    EXPECT_EQ(
        Bytes(bytes.begin() + at + 14, bytes.begin() + at + 17), bytesOf({ 0x56, 0x34, 0x12 }))
        << "colourOpen goes out as 24 bits, least significant byte first";
    const std::size_t band = at + 28 + 8 * 2;
    EXPECT_EQ(Bytes(bytes.begin() + band, bytes.begin() + band + 7),
        bytesOf({ 2, 0x09, 0xC4, 0x00, 141, 0x01, 0xA4 }))
        << "band 3: shape, then frequency, Q and gain most significant byte first";
    EXPECT_EQ(bytes[at + 61] << 8 | bytes[at + 62], 150) << "low-cut frequency at 61..62";
    EXPECT_EQ(bytes[at + 65] << 8 | bytes[at + 66], 4) << "low-cut shape at 65..66";
    EXPECT_EQ(bytes.size(), at + 68) << "'#' follows position 66";
}

TEST(UnitFrames, SettingsFrameIsStoredAndAnsweredWithTheFamilysReport)
{
    SimUnit arn1 = makeUnit(1, 1, UnitAddress);
    const UnitHandling six = applyUnitFrame(arn1, frame('A', { 5, 1, 0, 1, 1, 3 }), Application);
    ASSERT_TRUE(six.applied) << six.meaning;
    EXPECT_EQ(six.reply, frame('E', { 5, 1, 0, 1, 1, 3 })) << "ARN1 answers '%A' with 'E'";

    SimUnit velk = makeUnit(2, 2, UnitAddress);
    velk.settings.phantom = 1;
    const UnitHandling five = applyUnitFrame(velk, frame('H', { 7, 1, 1, 0, 2 }), Application);
    ASSERT_TRUE(five.applied) << five.meaning;
    EXPECT_EQ(five.reply, frame('J', { 7, 1, 1, 0, 2 })) << "VEL-K answers '%H' with 'J'";
    EXPECT_EQ(velk.settings.phantom, 1) << "a five-setting frame leaves phantom alone";
}

struct AcceptRow {
    int type;
    char letter;
    std::size_t length;
    bool understood;
};

void PrintTo(const AcceptRow &row, std::ostream *out)
{
    *out << "type" << row.type << "_" << row.letter << row.length;
}

class FamilyFrames : public ::testing::TestWithParam<AcceptRow> { };

TEST_P(FamilyFrames, AreUnderstoodOnlyByTheirFamily)
{
    const AcceptRow row = GetParam();
    SimUnit unit = makeUnit(1, row.type, UnitAddress);
    Bytes bytes(row.length, 1);
    bytes.front() = '%';
    bytes[1] = static_cast<std::uint8_t>(row.letter);
    bytes.back() = '#';
    const UnitHandling handling = applyUnitFrame(unit, bytes, Application);
    EXPECT_EQ(handling.applied, row.understood)
        << "type " << row.type << " and '%" << row.letter << "': " << handling.meaning;
    EXPECT_EQ(unit.received.size(), 1u) << "every frame is recorded, understood or not";
    EXPECT_EQ(unit.ignoredFrames, row.understood ? 0 : 1) << "ignored frames are counted";
}

INSTANTIATE_TEST_SUITE_P(EveryLetter, FamilyFrames,
    ::testing::Values(AcceptRow { 1, 'A', 9, true }, AcceptRow { 1, 'H', 8, false },
        AcceptRow { 1, 'F', 4, true }, AcceptRow { 1, 'K', 4, false },
        AcceptRow { 1, 'M', 14, true }, AcceptRow { 1, 'O', 14, false },
        AcceptRow { 1, 'P', 20, false }, AcceptRow { 1, 'T', 27, false },
        AcceptRow { 4, 'M', 14, false }, AcceptRow { 4, 'A', 9, true },
        AcceptRow { 2, 'H', 8, true }, AcceptRow { 2, 'A', 9, false },
        AcceptRow { 2, 'K', 4, true }, AcceptRow { 2, 'F', 4, false },
        AcceptRow { 2, 'O', 14, true }, AcceptRow { 5, 'O', 14, false },
        AcceptRow { 3, 'A', 9, true }, AcceptRow { 3, 'F', 4, true },
        AcceptRow { 3, 'P', 20, true }, AcceptRow { 3, 'M', 14, false },
        AcceptRow { 3, 'T', 27, true }, AcceptRow { 3, 'A', 8, false },
        AcceptRow { 3, 'Z', 4, false }));

TEST(UnitFrames, AttachNamesTheControllerAndDetachForgetsIt)
{
    SimUnit unit = makeUnit(1, 2, UnitAddress);
    applyUnitFrame(unit, frame('K', { 1 }), Application);
    EXPECT_TRUE(unit.attached) << "'%K' 1 attaches a VEL-K unit";
    EXPECT_EQ(unit.controller, Application) << "level reports will go to the sender of the attach";
    EXPECT_FALSE(applyUnitFrame(unit, frame('K', { 2 }), Application).applied)
        << "an attach value other than 0 or 1 is ignored";
    EXPECT_TRUE(unit.attached) << "an ignored attach frame changes nothing";
    applyUnitFrame(unit, frame('K', { 0 }), Application);
    EXPECT_FALSE(unit.attached) << "'%K' 0 detaches";
    EXPECT_FALSE(unit.controller) << "a detached unit reports to nobody";
}

TEST(UnitFrames, WideColourFrameStoresCodeAndTwentyFourBitColours)
{
    SimUnit unit = makeUnit(1, 3, UnitAddress);
    const Bytes colours = frame(
        'P', { '7', '3', '9', '2', '0', '4', '6', '8', 0x56, 0x34, 0x12, 1, 2, 3, 0xFF, 0, 0 });
    ASSERT_TRUE(applyUnitFrame(unit, colours, Application).applied);
    EXPECT_EQ(unit.code, "73920468") << "the code is the frame's first eight characters";
    EXPECT_EQ(unit.colourOpen, 0x123456) << "colours arrive least significant byte first";
    EXPECT_EQ(unit.colourMute, 0x030201);
    EXPECT_EQ(unit.colourCall, 0x0000FF);
}

TEST(UnitFrames, EqualiserFrameStoresTheBandAndItsCoefficients)
{
    SimUnit unit = makeUnit(1, 3, UnitAddress);
    // Band 2: on, low shelf, 1000 Hz, Q x 100 = 70, gain code 360; -a1 = 1.0, -a2 = -1.0,
    // b0 = 1.0, b1 = -2.0, b2 = 0.
    const Bytes band = frame('T',
        { 1, 1, 1, 0x03, 0xE8, 0x00, 70, 0x01, 0x68, 0x20, 0, 0, 0xE0, 0, 0, 0x20, 0, 0, 0xC0, 0, 0,
            0, 0, 0 });
    ASSERT_EQ(band.size(), 27u);
    ASSERT_TRUE(applyUnitFrame(unit, band, Application).applied);
    const UnitEqBand &stored = unit.eqBands[1];
    EXPECT_EQ(stored.enabled, 1);
    EXPECT_EQ(stored.shape, 1);
    EXPECT_EQ(stored.frequency, 1000);
    EXPECT_EQ(stored.q, 70);
    EXPECT_EQ(stored.gain, 360);
    EXPECT_EQ(unit.eqFrames[1], band) << "the frame is kept byte for byte";
    const EqCoefficients &c = unit.eqCoefficients[1];
    EXPECT_DOUBLE_EQ(c.minusA1, 1.0) << "20 00 00 is 1.0";
    EXPECT_DOUBLE_EQ(c.minusA2, -1.0) << "E0 00 00 is -1.0";
    EXPECT_DOUBLE_EQ(c.b1, -2.0) << "C0 00 00 is -2.0";

    const Bytes lowCut = frame('T',
        { 4, 1, 1, 0, 120, 0, 200, 0, 4, 0x20, 0, 0, 0x20, 0, 0, 0x20, 0, 0, 0x20, 0, 0, 0x20, 0,
            0 });
    ASSERT_TRUE(applyUnitFrame(unit, lowCut, Application).applied);
    EXPECT_EQ(unit.eqLowCut.on, 1);
    EXPECT_EQ(unit.eqLowCut.frequency, 120);
    EXPECT_EQ(unit.eqLowCut.shape, 4);
    EXPECT_FALSE(applyUnitFrame(unit,
        frame('T', { 5, 1, 1, 0, 120, 0, 200, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }),
        Application)
                     .applied)
        << "band index 5 lies past the low cut";
}

TEST(UnitLevels, StayInTheMeterRangeUseTheFamilysLetterAndMove)
{
    SimUnit arn1 = makeUnit(1, 1, UnitAddress);
    SimUnit velk = makeUnit(2, 5, UnitAddress);
    std::set<int> seen;
    for (int step = 0; step < 200; ++step) {
        const Bytes g = nextLevelReport(arn1, step * 0.1);
        const Bytes l = nextLevelReport(velk, step * 0.1);
        ASSERT_EQ(g.size(), 4u);
        EXPECT_EQ(g[1], 'G') << "ARN1 reports levels with 'G'";
        EXPECT_EQ(l[1], 'L') << "VEL-K reports levels with 'L'";
        EXPECT_LE(g[2], 16) << "a strip meter shows twice the level on a scale of 32";
        seen.insert(g[2]);
    }
    EXPECT_GE(seen.size(), 8u) << "the level moves over much of its range";
}

} // namespace
} // namespace arxsim

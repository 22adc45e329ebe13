#include "protocol/ReplyParser.h"
#include "protocol/UnitList.h"

#include "DeviceFrames.h"
#include "RecordingLink.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

using namespace test;
using Lines = std::vector<std::string>;
using Row = UnitListModel::Row;

constexpr const char *UnitA = "127.0.4.10";
constexpr const char *UnitB = "127.0.4.11";
constexpr const char *Processor = "127.0.4.200";

class ReplyParserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaults(store);
        store.scanActive = true;
    }

    // Hands the datagram to the parser and, when it asks for it, rebuilds the unit list the
    // way the main window does.
    ReplyActions receive(const std::string &sender, const Bytes &bytes)
    {
        const ReplyActions actions
            = HandleReply(store, processors, link, clock, datagramFrom(sender, bytes));
        for (const ReplyAction &action : actions) {
            if (action.kind == ReplyAction::RefreshUnitList)
                RefreshUnitList(store, units, [this](int slot) { shownStrips.push_back(slot); });
        }
        return actions;
    }

    const DeviceRecord &slot(int index) const { return store.unitTable[index]; }

    Store store;
    ProcessorListModel processors;
    UnitListModel units;
    RecordingLink link;
    ManualClock clock;
    std::vector<int> shownStrips;
};

const ReplyActions registeredNew(int slot)
{
    return { { ReplyAction::RefreshStrip, slot, AllUnitFields }, { ReplyAction::RefreshUnitList } };
}
const ReplyActions registeredAgain = { { ReplyAction::RefreshUnitList } };

std::string attach(char letter, const std::string &address)
{
    return std::string("25 ") + (letter == 'F' ? "46" : "4B") + " 01 23 -> " + address + ":39030";
}

// --- Registration by '%D' -------------------------------------------------------------

struct VariantCase {
    const char *name;
    Bytes frame;
    std::int32_t type;
    char attachLetter;
    const char *family;
    bool codeAndColours;
    bool phantom;
};

void PrintTo(const VariantCase &row, std::ostream *out)
{
    *out << row.name;
}

class AnnouncementVariant : public ReplyParserTest,
                            public ::testing::WithParamInterface<VariantCase> { };

TEST_P(AnnouncementVariant, RegistersTheUnitWithItsFieldsAndAttachesIt)
{
    const VariantCase &c = GetParam();
    clock.setLocalTime({ 2026, 5, 2, 3, 4, 5, 6, 7 });
    EXPECT_EQ(receive(UnitA, c.frame), registeredNew(0));

    const DeviceRecord &unit = slot(0);
    EXPECT_EQ(unit.inUse, 1);
    EXPECT_EQ(unit.type, c.type);
    EXPECT_EQ(unit.unitNumber, 1);
    EXPECT_EQ(textOf(unit.name), "mic-one");
    EXPECT_EQ(textOf(unit.ip), UnitA) << "the sender's address, not the one inside the frame";
    EXPECT_EQ(unit.lastHeard, (LocalTime { 2026, 5, 2, 3, 4, 5, 6, 7 }));
    EXPECT_EQ(unit.gain, -2) << "settings are signed bytes";
    EXPECT_EQ(unit.lowCut, 1);
    EXPECT_EQ(unit.phantom, c.phantom ? 1 : 0);
    EXPECT_EQ(unit.micMute, 1);
    EXPECT_EQ(unit.locate, 0);
    EXPECT_EQ(unit.mode, 3);
    if (c.codeAndColours) {
        EXPECT_EQ(textOf(unit.code), "12345678");
        EXPECT_EQ(unit.colourOpen, 4);
        EXPECT_EQ(unit.colourMute, -1) << "colours of '%D' are signed bytes";
        EXPECT_EQ(unit.colourCall, 6);
    } else {
        EXPECT_EQ(textOf(unit.code), "") << "the short variants carry no code";
        EXPECT_EQ(unit.colourOpen, 0);
    }
    EXPECT_EQ(link.log, (Lines { attach(c.attachLetter, UnitA), "pause 10" }));
    EXPECT_EQ(units.rows(), (std::vector<Row> { { "1", "mic-one", UnitA, c.family } }));
    EXPECT_EQ(shownStrips, std::vector<int> { 0 });
}

INSTANTIATE_TEST_SUITE_P(AllFour, AnnouncementVariant,
    ::testing::Values(
        VariantCase { "N_plus_27_type_1",
            arn1Announcement("mic-one", { 0xFE, 1, 1, 1, 0, 3 }, "12345678", { 4, 0xFF, 6 }),
            UnitTypeArn1, 'F', "ARN1", true, true },
        VariantCase { "N_plus_16_type_4", arn1ShortAnnouncement("mic-one", { 0xFE, 1, 1, 1, 0, 3 }),
            UnitTypeArn1Short, 'F', "ARN1", false, true },
        VariantCase { "N_plus_26_type_2",
            velkAnnouncement("mic-one", { 0xFE, 1, 1, 0, 3 }, "12345678", { 4, 0xFF, 6 }),
            UnitTypeVelK, 'K', "VEL-K", true, false },
        VariantCase { "N_plus_15_type_5", velkShortAnnouncement("mic-one", { 0xFE, 1, 1, 0, 3 }),
            UnitTypeVelKShort, 'K', "VEL-K", false, false }));

TEST_F(ReplyParserTest, SameUnitAnnouncingShortLaterKeepsItsSlotAndBecomesType4)
{
    receive(UnitA, arn1Announcement("desk", { 3, 1, 1, 0, 0, 2 }));
    receive(UnitB, arn1Announcement("chair"));
    link.clear();
    clock.setLocalTime({ 2026, 6, 1, 1, 1, 1, 1, 1 });

    EXPECT_EQ(receive(UnitA, arn1ShortAnnouncement("desk", { 9, 0, 0, 1, 1, 1 })), registeredAgain);

    const DeviceRecord &unit = slot(0);
    EXPECT_EQ(unit.type, UnitTypeArn1Short);
    EXPECT_EQ(unit.gain, 3) << "settings stay as first announced";
    EXPECT_EQ(unit.mode, 2);
    EXPECT_EQ(textOf(unit.code), "C0DE0001");
    EXPECT_EQ(unit.lastHeard, (LocalTime { 2026, 6, 1, 1, 1, 1, 1, 1 }));
    EXPECT_EQ(link.log, (Lines { attach('F', UnitA), "pause 10" }));
    EXPECT_EQ(units.rowCount(), 2u) << "no second row for the same unit";
}

TEST_F(ReplyParserTest, NameMatchMovesTheSlotToTheNewAddressAndRewritesTheRowsIp)
{
    receive(UnitA, arn1Announcement("podium"));
    receive(UnitB, velkAnnouncement("chair"));
    store.unitTable[0].levelIndex = 2;
    link.clear();

    EXPECT_EQ(receive("127.0.4.77", arn1Announcement("podium")), registeredAgain);

    EXPECT_EQ(textOf(slot(0).ip), "127.0.4.77");
    EXPECT_EQ(slot(0).levelIndex, 0);
    EXPECT_EQ(findFreeSlot(store), 2) << "no new slot taken";
    EXPECT_EQ(units.rows(),
        (std::vector<Row> {
            { "1", "podium", "127.0.4.77", "ARN1" }, { "2", "chair", UnitB, "VEL-K" } }));
    EXPECT_EQ(link.log, (Lines { attach('F', "127.0.4.77"), "pause 10" }));
}

// A host may announce the name of another unit: the slot it finds moves to the host's address,
// which another slot still holds. Every row keeps showing its own unit, and however often
// names move, no unit gets a second row.
TEST_F(ReplyParserTest, NamesMovingBetweenAddressesKeepOneTruthfulRowPerUnit)
{
    receive(UnitA, arn1Announcement("one"));
    receive(UnitB, arn1Announcement("two"));
    receive(UnitB, arn1Announcement("one")); // slot 0 moves to B, where slot 1 is
    receive(UnitA, arn1Announcement("three"));
    for (int round = 0; round < 3; ++round) {
        receive("127.0.4.30", arn1Announcement("two"));
        receive("127.0.4.31", arn1Announcement("two"));
    }
    EXPECT_EQ(units.rows(),
        (std::vector<Row> { { "1", "one", UnitB, "ARN1" }, { "2", "two", "127.0.4.31", "ARN1" },
            { "3", "three", UnitA, "ARN1" } }));
    EXPECT_EQ(shownStrips.size(), 1u + 2u + 2u + 3u + 6u * 3u) << "each refresh, each unit once";
}

TEST_F(ReplyParserTest, EmptyNameMatchesTheFirstEmptyNamedSlotAndOnlyVelKOccupiesIt)
{
    receive(UnitA, arn1Announcement("named"));
    link.clear();
    units.clear();
    shownStrips.clear();

    // Slot 1 is free and nameless: a type-1 announcement takes its address but leaves it free.
    EXPECT_EQ(receive("127.0.4.20", arn1Announcement("")), registeredAgain);
    EXPECT_EQ(slot(1).inUse, 0);
    EXPECT_EQ(textOf(slot(1).ip), "127.0.4.20");
    EXPECT_EQ(slot(1).type, UnitTypeArn1);
    EXPECT_TRUE(link.log.empty()) << "a free slot gets no attach frame";

    // A type-2 announcement with an empty name takes the same slot and occupies it.
    EXPECT_EQ(receive("127.0.4.21", velkAnnouncement("")), registeredAgain);
    EXPECT_EQ(slot(1).inUse, 1);
    EXPECT_EQ(textOf(slot(1).ip), "127.0.4.21");
    EXPECT_EQ(slot(1).type, UnitTypeVelK);
    EXPECT_EQ(link.log, (Lines { attach('K', "127.0.4.21"), "pause 10" }));
    EXPECT_EQ(units.rows(),
        (std::vector<Row> { { "1", "named", UnitA, "ARN1" }, { "2", "", "127.0.4.21", "VEL-K" } }));
}

TEST_F(ReplyParserTest, The65thUnitGetsNoSlotNoFrameAndNoRow)
{
    for (int i = 0; i < UnitSlotCount; ++i)
        receive("127.0.4." + std::to_string(10 + i), arn1Announcement("unit" + std::to_string(i)));
    ASSERT_EQ(units.rowCount(), 64u);
    link.clear();

    EXPECT_EQ(receive("127.0.4.99", arn1Announcement("one too many")), ReplyActions {});
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(units.rowCount(), 64u);
}

TEST_F(ReplyParserTest, ANameLongerThan23BytesIsCutTo23AndTheUnitIsFoundAgainByIt)
{
    const std::string longName(40, 'n');
    receive(UnitA, arn1Announcement(longName));
    EXPECT_EQ(textOf(slot(0).name), std::string(23, 'n'));
    EXPECT_EQ(slot(0).name[23], '\0');
    EXPECT_EQ(textOf(slot(0).code), "C0DE0001") << "the field after the name is untouched";

    EXPECT_EQ(receive(UnitB, arn1Announcement(longName)), registeredAgain)
        << "the same long name from a new address is the same unit";
    EXPECT_EQ(textOf(slot(0).ip), UnitB);
    EXPECT_EQ(units.rowCount(), 1u);
}

TEST_F(ReplyParserTest, SearchOffDropsEveryUnitFrameEvenFromRegisteredUnits)
{
    receive(UnitA, arn1Announcement("desk"));
    const DeviceRecord before = slot(0);
    link.clear();
    store.scanActive = false;

    for (const Bytes &frame : { report('G', { 50 }), report('L', { 50 }),
             report('E', { 1, 1, 1, 1, 1, 1 }), report('J', { 1, 1, 1, 1, 1 }),
             arn1Announcement("new one"), pxl2Announcement("pxl") }) {
        EXPECT_EQ(receive(UnitA, frame), ReplyActions {});
        EXPECT_EQ(receive(UnitB, frame), ReplyActions {});
    }
    EXPECT_EQ(slot(0).level, before.level);
    EXPECT_EQ(slot(0).gain, before.gain);
    EXPECT_EQ(slot(1).inUse, 0);
    EXPECT_TRUE(link.log.empty());
}

TEST_F(ReplyParserTest, MalformedUnitFramesAreDropped)
{
    receive(UnitA, arn1Announcement("desk"));
    link.clear();
    Bytes noEnd = report('G', { 9 });
    noEnd.back() = '!';
    Bytes noStart = report('G', { 9 });
    noStart.front() = '$';
    Bytes badLength = arn1Announcement("desk");
    badLength.insert(badLength.end() - 1, 0);
    const std::vector<Bytes> dropped = { noEnd, noStart, badLength, report('Z', { 1, 2, 3 }),
        report('B', { 1, 2, 3 }), report('U', { 1, 2, 3 }), report('E', { 1, 2, 3, 4, 5 }),
        report('J', { 1, 2, 3, 4 }), report('G', {}), Bytes { '%' }, Bytes { '%', '#' } };
    for (const Bytes &frame : dropped)
        EXPECT_EQ(receive(UnitA, frame), ReplyActions {}) << hex(frame);
    EXPECT_EQ(slot(0).gain, 3);
    EXPECT_EQ(slot(0).levelIndex, 0);
    EXPECT_EQ(findFreeSlot(store), 1);
    EXPECT_TRUE(link.log.empty());
}

// --- Registration by '%H' -------------------------------------------------------------

TEST_F(ReplyParserTest, Pxl2AnnouncementStoresSettingsWideColoursAndEqualiser)
{
    EXPECT_EQ(receive(UnitA, pxl2Announcement("pxl")), registeredNew(0));
    const DeviceRecord &unit = slot(0);
    EXPECT_EQ(unit.type, UnitTypePxl2);
    EXPECT_EQ(unit.gain, 9);
    EXPECT_EQ(unit.lowCut, 1);
    EXPECT_EQ(unit.phantom, 0);
    EXPECT_EQ(unit.micMute, 1);
    EXPECT_EQ(unit.mode, 3);
    EXPECT_EQ(textOf(unit.code), "C0DE0003");
    EXPECT_EQ(unit.colourOpen, 0x123456);
    EXPECT_EQ(unit.colourMute, 0x00FF00);
    EXPECT_EQ(unit.colourCall, 0xABCDEF);
    EXPECT_EQ(unit.eqHead.q, 5);
    EXPECT_EQ(unit.eqHead.shape, 1);
    EXPECT_EQ(unit.eqHead.enabled, 1);
    EXPECT_EQ(unit.eqHead.spare, -2) << "signed";
    EXPECT_EQ(unit.eqBands[1].shape, 1);
    EXPECT_EQ(unit.eqBands[1].frequency, 500);
    EXPECT_EQ(unit.eqBands[1].q, 30) << "received Q / 10";
    EXPECT_EQ(unit.eqBands[1].gain, 310);
    EXPECT_EQ(unit.eqBands[3].frequency, 5000);
    for (const MicEqBand &band : unit.eqBands)
        EXPECT_EQ(band.enabled, 1);
    EXPECT_EQ(unit.eqLowCutFrequency, 80);
    EXPECT_EQ(unit.eqLowCutShape, 4);
    EXPECT_EQ(unit.eqLowCutOn, 1) << "mirrors the announced low cut";
    EXPECT_EQ(link.log, (Lines { attach('F', UnitA), "pause 10" }));
    EXPECT_EQ(units.rows(), (std::vector<Row> { { "1", "pxl", UnitA, "PXL2" } }));
}

struct ClampCase {
    const char *name;
    std::uint16_t frequency, q, gain, lowCutFrequency, lowCutShape;
    std::int32_t storedFrequency, storedQ, storedGain, storedLowCutFrequency, storedLowCutShape;
};

void PrintTo(const ClampCase &row, std::ostream *out)
{
    *out << row.name;
}

class Pxl2Clamp : public ReplyParserTest, public ::testing::WithParamInterface<ClampCase> { };

TEST_P(Pxl2Clamp, StoresEqualiserValuesWithinTheirRanges)
{
    const ClampCase &c = GetParam();
    WideFields fields;
    fields.bands[2] = wideBand(0, c.frequency, c.q, c.gain);
    fields.lowCutFrequency = c.lowCutFrequency;
    fields.lowCutShape = c.lowCutShape;
    receive(UnitA, pxl2Announcement("pxl", fields));
    const DeviceRecord &unit = slot(0);
    EXPECT_EQ(unit.eqBands[2].frequency, c.storedFrequency);
    EXPECT_EQ(unit.eqBands[2].q, c.storedQ);
    EXPECT_EQ(unit.eqBands[2].gain, c.storedGain);
    EXPECT_EQ(unit.eqLowCutFrequency, c.storedLowCutFrequency);
    EXPECT_EQ(unit.eqLowCutShape, c.storedLowCutShape);
}

INSTANTIATE_TEST_SUITE_P(Ranges, Pxl2Clamp,
    ::testing::Values(ClampCase { "low_values", 10, 5, 0, 10, 0, 20, 1, 0, 20, 0 },
        ClampCase { "high_values", 30000, 65535, 700, 300, 65535, 20000, 1000, 600, 200, 65535 },
        ClampCase { "edges_kept", 20, 10, 600, 200, 7, 20, 1, 600, 200, 7 },
        ClampCase { "other_edges_kept", 20000, 10009, 1, 20, 1, 20000, 1000, 1, 20, 1 }));

TEST_F(ReplyParserTest, APxl2AnnouncementShorterThanItsFieldsIsDropped)
{
    Bytes full = pxl2Announcement("pxl");
    Bytes cut(full.begin(), full.end() - 2); // one field byte short
    cut.push_back('#');
    EXPECT_EQ(receive(UnitA, cut), ReplyActions {});
    EXPECT_EQ(slot(0).inUse, 0);

    // A name so long that its fields would lie past the 128 received bytes.
    Bytes longName = announcement('H', std::string(100, 'x'), Bytes(17, 1));
    longName.resize(DatagramCapacity - 1, 0);
    longName.push_back('#');
    EXPECT_EQ(receive(UnitA, longName), ReplyActions {});
    EXPECT_EQ(slot(0).inUse, 0);
    EXPECT_TRUE(link.log.empty());

    EXPECT_EQ(receive(UnitA, full), registeredNew(0)) << "the whole announcement registers";
}

TEST_F(ReplyParserTest, AKnownPxl2UnitKeepsItsEqualiser)
{
    receive(UnitA, pxl2Announcement("pxl"));
    link.clear();
    WideFields changed;
    changed.bands[0] = wideBand(2, 9000, 900, 100);
    receive(UnitA, pxl2Announcement("pxl", changed));
    EXPECT_EQ(slot(0).eqBands[0].frequency, 100);
    EXPECT_EQ(slot(0).eqBands[0].shape, 0);
    EXPECT_EQ(link.log,
        (std::vector<std::string> {
            std::string("25 46 01 23 -> ") + UnitA + ":39030", "pause 10" }))
        << "the known unit is attached again with '%F' 1";
}

// --- Reports --------------------------------------------------------------------------

TEST_F(ReplyParserTest, SettingsReportsUpdateEveryOccupiedSlotWithTheSenderAddress)
{
    receive(UnitA, arn1Announcement("one"));
    receive(UnitB, velkAnnouncement("two"));
    receive(UnitB, velkShortAnnouncement("two")); // same slot again
    // A second slot with the same address: the parser updates both.
    store.unitTable[5].inUse = 1;
    setText(store.unitTable[5].ip, UnitA);

    EXPECT_EQ(receive(UnitA, report('E', { 200, 1, 1, 1, 1, 3 })),
        (ReplyActions { { ReplyAction::RefreshStrip, 0, SettingsFields },
            { ReplyAction::RefreshStrip, 5, SettingsFields } }));
    for (int index : { 0, 5 }) {
        EXPECT_EQ(slot(index).gain, 200) << "report values are unsigned";
        EXPECT_EQ(slot(index).phantom, 1);
        EXPECT_EQ(slot(index).mode, 3);
    }

    EXPECT_EQ(receive(UnitB, report('J', { 7, 0, 1, 1, 2 })),
        (ReplyActions { { ReplyAction::RefreshStrip, 1,
            UnitField::Gain | UnitField::LowCut | UnitField::Mute | UnitField::Locate
                | UnitField::Mode } }));
    EXPECT_EQ(slot(1).gain, 7);
    EXPECT_EQ(slot(1).micMute, 1);
    EXPECT_EQ(slot(1).locate, 1);
    EXPECT_EQ(slot(1).mode, 2);

    EXPECT_EQ(receive("127.0.4.99", report('E', { 1, 1, 1, 1, 1, 1 })), ReplyActions {})
        << "nobody holds that address";
}

TEST_F(ReplyParserTest, LevelReportsFillTheRingAndUpdateTheMeter)
{
    receive(UnitA, arn1Announcement("one"));
    clock.setLocalTime({ 2026, 7, 1, 1, 1, 1, 1, 1 });
    const ReplyActions meter = { { ReplyAction::UpdateMeter, 0 } };
    for (std::uint8_t value : { 10, 20, 30 })
        EXPECT_EQ(receive(UnitA, report('G', { value })), meter);
    EXPECT_EQ(slot(0).levelIndex, 3);
    EXPECT_EQ(receive(UnitA, report('G', { 200 })), meter) << "'G' updates once when it wraps";
    EXPECT_EQ(slot(0).levelIndex, 0);
    EXPECT_EQ(slot(0).level, 200);
    EXPECT_EQ((std::vector<int>(slot(0).levelHistory, slot(0).levelHistory + 4)),
        (std::vector<int> { 10, 20, 30, 200 }));
    EXPECT_EQ(slot(0).lastHeard, (LocalTime { 2026, 7, 1, 1, 1, 1, 1, 1 }));
}

TEST_F(ReplyParserTest, LevelReportLUpdatesTheMeterOnceMoreWhenTheRingWraps)
{
    receive(UnitA, arn1Announcement("one"));
    const ReplyActions once = { { ReplyAction::UpdateMeter, 0 } };
    const ReplyActions twice = { { ReplyAction::UpdateMeter, 0 }, { ReplyAction::UpdateMeter, 0 } };
    EXPECT_EQ(receive(UnitA, report('L', { 1 })), once);
    EXPECT_EQ(receive(UnitA, report('L', { 2 })), once);
    EXPECT_EQ(receive(UnitA, report('L', { 3 })), once);
    EXPECT_EQ(receive(UnitA, report('L', { 4 })), twice);
    EXPECT_EQ(slot(0).levelIndex, 0);
    EXPECT_EQ(receive(UnitA, report('L', { 5 })), once);
    EXPECT_EQ(slot(0).levelHistory[0], 5);
}

// --- Unit list ------------------------------------------------------------------------

TEST(UnitList, RowsOfFreedSlotsGoAndEveryRowShowsItsStripTopToBottom)
{
    Store store;
    UnitListModel list;
    list.appendRow({ "3", "gone", "127.0.4.13", "ARN1" });
    list.appendRow({ "2", "two", "127.0.4.12", "VEL-K" });
    store.unitTable[2].unitNumber = 3; // freed
    DeviceRecord &two = store.unitTable[1];
    two.unitNumber = 2;
    two.inUse = 1;
    two.type = UnitTypeVelK;
    setText(two.name, "two");
    setText(two.ip, "127.0.4.22");
    DeviceRecord &five = store.unitTable[4];
    five.unitNumber = 5;
    five.inUse = 1;
    five.type = UnitTypePxl2;
    setText(five.name, "five");
    setText(five.ip, "127.0.4.15");

    std::vector<int> shown;
    RefreshUnitList(store, list, [&shown](int slot) { shown.push_back(slot); });
    EXPECT_EQ(list.rows(),
        (std::vector<Row> {
            { "2", "two", "127.0.4.22", "VEL-K" }, { "5", "five", "127.0.4.15", "PXL2" } }));
    EXPECT_EQ(shown, (std::vector<int> { 1, 4 }));
}

TEST(UnitList, ARowWhoseNumberNamesNoSlotShowsNoStrip)
{
    UnitListModel list;
    list.appendRow({ "65", "", "", "" });
    list.appendRow({ "x", "", "", "" });
    list.appendRow({ "64", "", "", "" });
    EXPECT_EQ(slotOfUnitRow(list, 0), -1);
    EXPECT_EQ(slotOfUnitRow(list, 1), -1);
    EXPECT_EQ(slotOfUnitRow(list, 2), 63);
    EXPECT_EQ(slotOfUnitRow(list, 3), -1) << "past the last row";
}

// --- Processor answers ----------------------------------------------------------------

TEST_F(ReplyParserTest, AProcessorAnswerListsTheProcessorOnceEvenWithTheSearchOff)
{
    store.scanActive = false;
    EXPECT_EQ(receive(Processor, processorAnswer("RDA-2")),
        (ReplyActions { { ReplyAction::RefreshProcessorList } }));
    EXPECT_EQ(receive(Processor, processorAnswer("RDA-2")), ReplyActions {});
    ASSERT_EQ(processors.rowCount(), 1u);
    EXPECT_EQ(processors.rows()[0],
        (ProcessorListModel::Row { Processor, "RDA-2", "39060", ProcessorNotConnected }));
    EXPECT_EQ(store.speaker.rdaConnected, 0) << "no attempt was running";
    EXPECT_TRUE(link.log.empty());
}

TEST_F(ReplyParserTest, TheAnswerOfTheProcessorBeingConnectedAcknowledgesTheConnection)
{
    store.rdaAddress = Processor;
    store.speaker.rdaConnecting = 1;
    receive("127.0.4.201", processorAnswer("other"));
    EXPECT_EQ(store.speaker.rdaConnecting, 1) << "another processor's answer is no acknowledgement";

    EXPECT_EQ(receive(Processor, processorAnswer("")),
        (ReplyActions {
            { ReplyAction::RefreshProcessorList }, { ReplyAction::ProcessorConnected } }));
    EXPECT_EQ(store.speaker.rdaConnected, 1);
    EXPECT_EQ(store.speaker.rdaConnecting, 0);
    EXPECT_EQ(processors.cell(1, ProcessorStatusColumn), ProcessorConnected);
    EXPECT_EQ(processors.cell(0, ProcessorStatusColumn), ProcessorNotConnected);
}

TEST_F(ReplyParserTest, MalformedProcessorFramesAreDropped)
{
    Bytes wrongLength = processorAnswer("abc");
    wrongLength[2] = 5;
    Bytes wrongCommand = processorAnswer("abc");
    wrongCommand[3] = 0x06;
    Bytes wrongEnd = processorAnswer("abc");
    wrongEnd.back() = 0xA4;
    for (const Bytes &frame : { wrongLength, wrongCommand, wrongEnd, processorAnswer("eleven char"),
             Bytes { 0xAA, 0x55, 0x00, 0xA5 } })
        EXPECT_EQ(receive(Processor, frame), ReplyActions {}) << hex(frame);
    EXPECT_EQ(processors.rowCount(), 0u);
    EXPECT_EQ(
        processorAnswerName(datagramFrom(Processor, processorAnswer("ten chars!"))), "ten chars!");
}

} // namespace
} // namespace arx

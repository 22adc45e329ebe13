// Settings and colours sent by the application's senders arrive byte for byte at the emulated
// units, and what a unit reports comes back into the store. Application on 127.0.21.1, room on
// 127.0.21.0/24.
#include "LoopbackRoom.h"

#include "protocol/Senders.h"

#include <gtest/gtest.h>

namespace arx::e2e {
namespace {

using arxsim::Bytes;

constexpr const char *Subnet = "127.0.21";

class UnitSettings : public ::testing::Test {
protected:
    // Units 1..5 of types 1..5, found and attached, with their attach frames forgotten so
    // that each unit's frames are what the test sends.
    void SetUp() override
    {
        ASSERT_TRUE(room.searchAndSettle(5));
        room.control.clear();
    }

    DeviceRecord &slotOf(int unit) { return room.store.unitTable.at(unit - 1); }

    LoopbackRoom room { Subnet, { "--units", "1,2,3,4,5", "--level-rate", "0" },
        "e2e-settings.log" };
};

struct SettingsRow {
    int unit;
    bool sixSettings; // '%A' with phantom power, answered with 'E'; else '%H' and 'J'
    Bytes expected;
};

void PrintTo(const SettingsRow &row, std::ostream *out)
{
    *out << "unit" << row.unit;
}

class SettingsFrame : public UnitSettings, public ::testing::WithParamInterface<SettingsRow> { };

TEST_P(SettingsFrame, ArrivesByteExactAndTheUnitsReportComesBackIntoTheStore)
{
    const SettingsRow &row = GetParam();
    DeviceRecord &record = slotOf(row.unit);
    record.gain = 5;
    record.lowCut = 1;
    record.phantom = 0;
    record.micMute = 1;
    record.locate = 1;
    record.mode = 2;
    if (row.sixSettings)
        SendUnitSettings(room.transport, room.store, row.unit - 1);
    else
        SendUnitSettings5(room.transport, room.store, row.unit - 1);

    EXPECT_EQ(room.control.unitFrames(row.unit), std::vector<Bytes> { row.expected });
    const arxsim::ControlReply state = room.control.unit(row.unit);
    EXPECT_EQ(state.number("ignored"), 0) << "the unit understood the frame";
    EXPECT_EQ(state.number("gain"), 5);
    EXPECT_EQ(state.number("micMute"), 1);
    EXPECT_EQ(state.number("mode"), 2);

    // Scribbled over, the record can only be put right by the unit's report.
    const int refreshes = room.view.stripRefreshes.at(row.unit - 1);
    record.gain = record.lowCut = record.micMute = record.locate = record.mode = 99;
    ASSERT_TRUE(room.pumpUntil([&] {
        return room.view.stripRefreshes.at(row.unit - 1) > refreshes;
    })) << "the unit's report refreshed its strip";
    EXPECT_EQ(record.gain, 5);
    EXPECT_EQ(record.lowCut, 1);
    EXPECT_EQ(record.micMute, 1);
    EXPECT_EQ(record.locate, 1);
    EXPECT_EQ(record.mode, 2);
}

INSTANTIATE_TEST_SUITE_P(EveryType, SettingsFrame,
    ::testing::Values(SettingsRow { 1, true, { '%', 'A', 5, 1, 0, 1, 1, 2, '#' } },
        SettingsRow { 2, false, { '%', 'H', 5, 1, 1, 1, 2, '#' } },
        SettingsRow { 3, true, { '%', 'A', 5, 1, 0, 1, 1, 2, '#' } },
        SettingsRow { 4, true, { '%', 'A', 5, 1, 0, 1, 1, 2, '#' } },
        SettingsRow { 5, false, { '%', 'H', 5, 1, 1, 1, 2, '#' } }));

struct ColourRow {
    int unit;
    void (*send)(Link &, Store &, int);
    int open;
    int mute;
    int call;
    Bytes expected;
    const char *code; // what the unit then holds
    int heldOpen; // the colours the unit then holds
    int heldMute;
    int heldCall;
};

void PrintTo(const ColourRow &row, std::ostream *out)
{
    *out << "unit" << row.unit;
}

void sendColours(Link &link, Store &store, int slot)
{
    SendColours(link, store, slot);
}

class ColourFrame : public UnitSettings, public ::testing::WithParamInterface<ColourRow> { };

TEST_P(ColourFrame, ArrivesByteExactAndSetsTheUnitsCodeAndColours)
{
    const ColourRow &row = GetParam();
    DeviceRecord &record = slotOf(row.unit);
    record.colourOpen = row.open;
    record.colourMute = row.mute;
    record.colourCall = row.call;
    row.send(room.transport, room.store, row.unit - 1);

    EXPECT_EQ(room.control.unitFrames(row.unit), std::vector<Bytes> { row.expected });
    const arxsim::ControlReply state = room.control.unit(row.unit);
    EXPECT_EQ(state.number("ignored"), 0) << "the unit understood the frame";
    EXPECT_EQ(arxsim::percentUnescape(state.text("code")).value(), row.code);
    EXPECT_EQ(state.number("colourOpen"), row.heldOpen);
    EXPECT_EQ(state.number("colourMute"), row.heldMute);
    EXPECT_EQ(state.number("colourCall"), row.heldCall);
    EXPECT_EQ(textOf(record.code), row.code) << "the store holds the code that was sent";
}

INSTANTIATE_TEST_SUITE_P(EveryColourFamily, ColourFrame,
    ::testing::Values(
        // 'M' sends the code the unit announced, one byte per colour.
        ColourRow { 1, sendColours, 3, 5, 6,
            { '%', 'M', 'S', 'I', 'M', '-', '0', '0', '0', '1', 3, 5, 6, '#' }, "SIM-0001", 3, 5,
            6 },
        // 'O' replaces the code first and cuts the colours to their low byte.
        ColourRow { 2, SendColoursDefaultCode, 0x107, 0x205, 0x306,
            { '%', 'O', '7', '3', '9', '2', '0', '4', '6', '8', 7, 5, 6, '#' }, "73920468", 7, 5,
            6 },
        // 'P' carries 24-bit colours, least significant byte first.
        ColourRow { 3, SendColoursWide, 0x123456, 0xFF0000, 0x00A0FF,
            { '%', 'P', '7', '3', '9', '2', '0', '4', '6', '8', 0x56, 0x34, 0x12, 0, 0, 0xFF, 0xFF,
                0xA0, 0, '#' },
            "73920468", 0x123456, 0xFF0000, 0x00A0FF }));

struct UnitChangeRow {
    int unit;
    const char *field;
    int value;
    std::int32_t DeviceRecord::*stored;
};

void PrintTo(const UnitChangeRow &row, std::ostream *out)
{
    *out << "unit" << row.unit << "_" << row.field;
}

class ChangeOnTheUnit : public UnitSettings,
                        public ::testing::WithParamInterface<UnitChangeRow> { };

TEST_P(ChangeOnTheUnit, IsReportedIntoTheStore)
{
    const UnitChangeRow &row = GetParam();
    ASSERT_NE(slotOf(row.unit).*row.stored, row.value) << "the store does not hold it yet";
    ASSERT_TRUE(room.control.setSetting(row.unit, row.field, row.value))
        << "the unit reported the change to the application";
    EXPECT_TRUE(room.pumpUntil([&] { return slotOf(row.unit).*row.stored == row.value; }))
        << row.field << " of unit " << row.unit << " reached the store";
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, ChangeOnTheUnit,
    ::testing::Values(UnitChangeRow { 1, "phantom", 0, &DeviceRecord::phantom },
        UnitChangeRow { 2, "gain", 7, &DeviceRecord::gain },
        UnitChangeRow { 3, "mode", 3, &DeviceRecord::mode },
        UnitChangeRow { 4, "micMute", 1, &DeviceRecord::micMute },
        UnitChangeRow { 5, "locate", 1, &DeviceRecord::locate }));

} // namespace
} // namespace arx::e2e

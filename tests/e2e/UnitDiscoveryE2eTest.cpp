// Units found, attached, heard, let go, and found again after a change: the application's
// discovery on 127.0.20.1 against an arx-sim room on 127.0.20.0/24.
#include "LoopbackRoom.h"

#include <gtest/gtest.h>

namespace arx::e2e {
namespace {

using arxsim::Bytes;

constexpr const char *Subnet = "127.0.20";
const char *const FamilyOfType[] = { "", "ARN1", "VEL-K", "PXL2", "ARN1", "VEL-K" };

// The attach or detach frame a unit of `type` understands.
Bytes attachFrame(int type, int value)
{
    const std::uint8_t letter = type == 2 || type == 5 ? 'K' : 'F';
    return { '%', letter, static_cast<std::uint8_t>(value), '#' };
}

class UnitDiscovery : public ::testing::Test {
protected:
    // Units 1..5 of types 1..5 at .10 to .14, the processor at .200.
    LoopbackRoom room { Subnet, { "--units", "1,2,3,4,5", "--level-rate", "20" }, "e2e-units.log" };

    int meterUpdatesOf(int unit) const { return room.view.meterUpdates.at(unit - 1); }
    const DeviceRecord &slotOf(int unit) const { return room.store.unitTable.at(unit - 1); }
};

TEST_F(UnitDiscovery, SearchRegistersEveryUnitInOrderWithWhatItAnnouncedAndAttachesIt)
{
    ASSERT_TRUE(room.searchAndSettle(5)) << "every unit answered both search requests";
    EXPECT_EQ(room.control.list().text("search"), "127.0.20.1:39030")
        << "the search carried the interface's address and port 39030";
    EXPECT_TRUE(room.view.searchPressed);

    const UnitListModel &list = room.discovery.unitList();
    ASSERT_EQ(list.rowCount(), 5u) << "one row per unit, however often it announced";
    for (int unit = 1; unit <= 5; ++unit) {
        SCOPED_TRACE("unit " + std::to_string(unit));
        const arxsim::ControlReply state = room.control.unit(unit);
        const std::string name = arxsim::percentUnescape(state.text("name")).value();
        const DeviceRecord &record = slotOf(unit);
        EXPECT_TRUE(record.inUse);
        EXPECT_EQ(record.unitNumber, unit) << "slots fill in the order of the announcements";
        EXPECT_EQ(textOf(record.ip), room.unitAddress(unit));
        EXPECT_EQ(textOf(record.name), name);
        EXPECT_EQ(record.type, unit);
        EXPECT_EQ(record.gain, state.number("gain")) << "settings come from the announcement";
        EXPECT_EQ(record.mode, state.number("mode"));
        EXPECT_EQ(record.micMute, state.number("micMute"));

        const std::size_t row = static_cast<std::size_t>(unit - 1);
        EXPECT_EQ(list.cell(row, UnitSerialColumn), std::to_string(unit));
        EXPECT_EQ(list.cell(row, UnitNameColumn), name);
        EXPECT_EQ(list.cell(row, UnitAddressColumn), room.unitAddress(unit));
        EXPECT_EQ(list.cell(row, UnitTypeColumn), FamilyOfType[unit]);
        EXPECT_GE(room.view.stripShows.at(unit - 1), 1) << "the listed unit's strip was shown";

        EXPECT_EQ(room.control.unitFrames(unit), std::vector<Bytes>(2, attachFrame(unit, 1)))
            << "each announcement was answered with the family's attach frame";
        EXPECT_EQ(state.number("attached"), 1);
        EXPECT_EQ(state.text("controller"), "127.0.20.1:39030")
            << "attached from the command socket";
    }
    const ProcessorListModel &processors = room.discovery.processorList();
    ASSERT_EQ(processors.rowCount(), 1u) << "the processor answered the search too, once listed";
    EXPECT_EQ(processors.cell(0, ProcessorAddressColumn), room.processorAddress());
}

TEST_F(UnitDiscovery, EqualiserUnitsAnnouncementFillsTheSlotsEqualiser)
{
    ASSERT_TRUE(room.searchAndSettle(5));
    const arxsim::ControlReply state = room.control.unit(3);
    const DeviceRecord &record = slotOf(3);
    EXPECT_EQ(record.colourOpen, state.number("colourOpen")) << "24-bit colours";
    EXPECT_EQ(record.colourCall, state.number("colourCall"));
    EXPECT_EQ(textOf(record.code), arxsim::percentUnescape(state.text("code")).value());
    for (int band = 0; band < MicEqBandCount; ++band) {
        SCOPED_TRACE("band " + std::to_string(band + 1));
        // enabled, shape, frequency, Q x 100, gain
        const std::vector<std::string> held = state.list("eq" + std::to_string(band + 1));
        ASSERT_EQ(held.size(), 5u);
        EXPECT_EQ(record.eqBands[band].shape, std::stoi(held[1]));
        EXPECT_EQ(record.eqBands[band].frequency, std::stoi(held[2]));
        EXPECT_EQ(record.eqBands[band].q, std::stoi(held[3]) / 10) << "Q code is Q x 10";
        EXPECT_EQ(record.eqBands[band].gain, std::stoi(held[4]));
    }
    EXPECT_EQ(record.eqLowCutFrequency, std::stoi(state.list("lowcut").at(1)));
}

TEST_F(UnitDiscovery, LevelReportsReachTheStoreAsTheUnitsSentThem)
{
    ASSERT_TRUE(room.searchAndSettle(5));
    ASSERT_TRUE(room.pumpUntil([&] {
        for (int unit = 1; unit <= 5; ++unit) {
            if (meterUpdatesOf(unit) < 4)
                return false;
        }
        return true;
    })) << "every unit's meter was updated by its level reports";

    // Silenced, each unit's last level is the last one it sent.
    for (int unit = 1; unit <= 5; ++unit)
        room.control.setSilent(unit, true);
    int sent[6] = {};
    for (int unit = 1; unit <= 5; ++unit)
        sent[unit] = room.control.unit(unit).number("level");
    EXPECT_TRUE(room.pumpUntil([&] {
        for (int unit = 1; unit <= 5; ++unit) {
            const DeviceRecord &record = slotOf(unit);
            const int last = record.levelHistory[(record.levelIndex + 3) % 4];
            if (record.level != sent[unit] || last != sent[unit])
                return false;
        }
        return true;
    })) << "the store holds each unit's last level, also as the newest history entry";
    for (int unit = 1; unit <= 5; ++unit)
        EXPECT_EQ(slotOf(unit).level, sent[unit]) << "unit " << unit;
}

TEST_F(UnitDiscovery, StopDetachesTypesOneToThreeAndLetsEveryUnitGo)
{
    ASSERT_TRUE(room.searchAndSettle(5));
    room.discovery.stopSearch();

    const std::vector<Bytes> attachedTwice[] = {
        {},
        { attachFrame(1, 1), attachFrame(1, 1), attachFrame(1, 0) },
        { attachFrame(2, 1), attachFrame(2, 1), attachFrame(2, 0) },
        { attachFrame(3, 1), attachFrame(3, 1), attachFrame(3, 0) },
        { attachFrame(4, 1), attachFrame(4, 1) },
        { attachFrame(5, 1), attachFrame(5, 1) },
    };
    for (int unit = 1; unit <= 5; ++unit) {
        EXPECT_EQ(room.control.unitFrames(unit), attachedTwice[unit])
            << "unit " << unit << ": '%F' 0 for types 1 and 3, '%K' 0 for type 2, none for 4, 5";
        EXPECT_EQ(room.control.unit(unit).number("attached"), unit >= 4 ? 1 : 0) << "unit " << unit;
        EXPECT_FALSE(slotOf(unit).inUse);
        EXPECT_EQ(textOf(slotOf(unit).ip), "") << "the slot forgets the unit";
        EXPECT_EQ(room.view.stripHides.at(unit - 1), 1) << "unit " << unit << "'s strip hidden";
    }
    EXPECT_EQ(room.discovery.unitList().rowCount(), 0u);
    EXPECT_EQ(room.discovery.processorList().rowCount(), 0u);
    EXPECT_FALSE(room.view.searchPressed);

    // Types 4 and 5 were never detached and report on; the stopped search ignores them.
    const int meterUpdatesAtStop = meterUpdatesOf(4) + meterUpdatesOf(5);
    const int heard4 = room.deliveredFrom(room.unitAddress(4));
    const int heard5 = room.deliveredFrom(room.unitAddress(5));
    ASSERT_TRUE(room.pumpUntil([&] {
        return room.deliveredFrom(room.unitAddress(4)) >= heard4 + 3
            && room.deliveredFrom(room.unitAddress(5)) >= heard5 + 3;
    })) << "units 4 and 5 keep sending levels after the stop";
    EXPECT_EQ(meterUpdatesOf(4) + meterUpdatesOf(5), meterUpdatesAtStop)
        << "levels after the stop reach no meter";
    EXPECT_EQ(room.registeredUnits(), 0) << "nor any slot";
}

struct ChangeRow {
    const char *name;
    int unit;
    std::function<void(arxsim::SimControl &)> change;
    std::string expectedName; // empty: the unit's name as before
    int expectedHost; // 0: the unit's address as before
    int expectedType;
};

void PrintTo(const ChangeRow &row, std::ostream *out)
{
    *out << row.name;
}

class ReannouncedUnit : public UnitDiscovery, public ::testing::WithParamInterface<ChangeRow> { };

TEST_P(ReannouncedUnit, KeepsItsSlotAndRowWithWhatChanged)
{
    const ChangeRow &row = GetParam();
    ASSERT_TRUE(room.searchAndSettle(5));
    const std::string nameBefore(textOf(slotOf(row.unit).name));
    const int gainBefore = slotOf(row.unit).gain;

    row.change(room.control);
    ASSERT_EQ(room.control.announce(row.unit), 1);
    const std::string name = row.expectedName.empty() ? nameBefore : row.expectedName;
    const std::string address
        = row.expectedHost ? room.address(row.expectedHost) : room.unitAddress(row.unit);
    ASSERT_TRUE(room.pumpUntil([&] {
        return textOf(slotOf(row.unit).name) == name && textOf(slotOf(row.unit).ip) == address
            && slotOf(row.unit).type == row.expectedType;
    })) << "the announcement after the change was taken";

    const DeviceRecord &record = slotOf(row.unit);
    EXPECT_EQ(record.unitNumber, row.unit) << "same slot, same number";
    EXPECT_EQ(record.gain, gainBefore) << "settings stay as they were";
    EXPECT_EQ(room.registeredUnits(), 5) << "no slot was added";
    const UnitListModel &list = room.discovery.unitList();
    ASSERT_EQ(list.rowCount(), 5u) << "no row was added";
    const std::size_t listRow = static_cast<std::size_t>(row.unit - 1);
    EXPECT_EQ(list.cell(listRow, UnitSerialColumn), std::to_string(row.unit));
    EXPECT_EQ(list.cell(listRow, UnitNameColumn), name);
    EXPECT_EQ(list.cell(listRow, UnitAddressColumn), address);
    EXPECT_EQ(room.control.unitFrames(row.unit).back(), attachFrame(row.expectedType, 1))
        << "attached again where it now is";

    const int updates = meterUpdatesOf(row.unit);
    EXPECT_TRUE(room.pumpUntil([&] { return meterUpdatesOf(row.unit) >= updates + 3; }))
        << "its level reports still reach its slot";
}

INSTANTIATE_TEST_SUITE_P(Changes, ReannouncedUnit,
    ::testing::Values(ChangeRow { "RenamedInChinese", 2,
                          [](arxsim::SimControl &c) { c.rename(2, "\xD6\xF7\xCF\xAF"); },
                          "\xD6\xF7\xCF\xAF", 0, 2 },
        ChangeRow { "MovedToAnotherAddress", 3,
            [](arxsim::SimControl &c) { c.move(3, "127.0.20.50"); }, "", 50, 3 },
        ChangeRow { "ShortAnnouncementOfType4", 1, [](arxsim::SimControl &c) { c.setType(1, 4); },
            "", 0, 4 }),
    [](const ::testing::TestParamInfo<ChangeRow> &info) { return info.param.name; });

TEST(FullRoom, SixtyFourUnitsTakeEverySlotInOrderAndTheSixtyFifthIsLeftOut)
{
    LoopbackRoom room { Subnet, { "--units", "65", "--level-rate", "0", "--no-processor" },
        "e2e-units-65.log" };
    ASSERT_TRUE(room.searchAndSettle(64)) << "units 1..64 were attached twice";
    ASSERT_TRUE(room.pumpUntil([&] { return room.deliveredFrom(room.unitAddress(65)) == 2; }))
        << "both announcements of unit 65 came in";

    for (int unit = 1; unit <= 64; ++unit) {
        const DeviceRecord &record = room.store.unitTable.at(unit - 1);
        EXPECT_EQ(textOf(record.ip), room.unitAddress(unit)) << "slot " << unit - 1;
        EXPECT_EQ(record.unitNumber, unit);
    }
    const UnitListModel &list = room.discovery.unitList();
    ASSERT_EQ(list.rowCount(), 64u);
    EXPECT_EQ(list.cell(63, UnitAddressColumn), room.unitAddress(64)) << "rows in slot order";
    EXPECT_EQ(list.findRow(UnitAddressColumn, room.unitAddress(65)), -1)
        << "no row for the 65th unit";
    EXPECT_EQ(room.control.unit(65).number("frames"), 0) << "nor an attach frame";
}

} // namespace
} // namespace arx::e2e

// The room check on the recording link and the manual clock: what it compares in each
// announcement variant, and when a unit counts as not responding.
#include "room/RoomStatusText.h"

#include "DeviceFrames.h"
#include "TestRoom.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

using namespace test;

std::string address(int unit)
{
    return "127.0.140." + std::to_string(9 + unit);
}

class CheckedRoom : public TestRoom {
public:
    CheckedRoom() { room.discovery().startSearch(); }

    RoomCheck &check() { return room.check(); }
    DeviceRecord &record(int slot) { return store->unitTable.at(static_cast<std::size_t>(slot)); }
    void receive(int unit, const Bytes &bytes)
    {
        room.received(datagramFrom(address(unit), bytes));
    }
    // Lets the answer window of a check whose requests have left pass.
    void closeAnswerWindow()
    {
        clock.advance(RoomCheck::AnswerWindowMs);
        room.tick();
    }
};

std::vector<std::string> fieldsOf(const UnitCheck &check)
{
    std::vector<std::string> fields;
    for (const UnitDifference &difference : check.differences)
        fields.push_back(difference.field);
    return fields;
}

// Every field a comparison may look at, changed in the record as if a frame had been lost.
void changeEveryField(DeviceRecord &record)
{
    for (std::int32_t DeviceRecord::*field :
        { &DeviceRecord::gain, &DeviceRecord::lowCut, &DeviceRecord::phantom,
            &DeviceRecord::micMute, &DeviceRecord::locate, &DeviceRecord::mode,
            &DeviceRecord::colourOpen, &DeviceRecord::colourMute, &DeviceRecord::colourCall,
            &DeviceRecord::eqLowCutFrequency, &DeviceRecord::eqLowCutShape })
        record.*field += 1;
    for (MicEqBand &band : record.eqBands) {
        band.shape += 1;
        band.frequency += 1;
        band.q += 1;
        band.gain += 1;
    }
}

const std::vector<std::string> Settings = { "gain", "low cut", "48V", "mute", "locate", "mode" };
const std::vector<std::string> SettingsWithout48V = { "gain", "low cut", "mute", "locate", "mode" };
const std::vector<std::string> Colours = { "open colour", "mute colour", "call colour" };

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> pxl2Equaliser()
{
    std::vector<std::string> fields = { "EQ low cut frequency", "EQ low cut shape" };
    for (int band = 1; band <= 4; ++band) {
        for (const char *field : { "shape", "frequency", "Q", "gain" })
            fields.push_back("EQ band " + std::to_string(band) + " " + field);
    }
    return fields;
}

// Band 1 lies outside every limit: 10 Hz, a received Q of 5 and a gain of 700 are stored as
// 20 Hz, Q code 1 and 600, and must compare equal to what the unit keeps announcing.
WideFields clampedPxl2()
{
    WideFields fields;
    fields.bands[0] = wideBand(1, 10, 5, 700);
    return fields;
}

struct VariantRow {
    const char *name;
    Bytes announcement;
    std::vector<std::string> fields;
    UnitDifference gain; // record gain one step up from the announced one
};

void PrintTo(const VariantRow &row, std::ostream *out)
{
    *out << row.name;
}

class EveryVariant : public ::testing::TestWithParam<VariantRow> { };

TEST_P(EveryVariant, IsComparedInTheFieldsItCarriesAfterTheParsersConversions)
{
    const VariantRow &row = GetParam();
    CheckedRoom room;
    room.receive(1, row.announcement);
    ASSERT_TRUE(room.record(0).inUse);

    ASSERT_EQ(room.check().run(), RoomCheck::Outcome::Started);
    room.receive(1, row.announcement);
    EXPECT_EQ(room.check().unit(0).state, UnitCheckState::Same) << "nothing changed";
    room.closeAnswerWindow();

    changeEveryField(room.record(0));
    ASSERT_EQ(room.check().run(), RoomCheck::Outcome::Started);
    room.receive(1, row.announcement);
    const UnitCheck &found = room.check().unit(0);
    EXPECT_EQ(found.state, UnitCheckState::Differs);
    EXPECT_EQ(fieldsOf(found), row.fields) << "what the variant carries, nothing else";
    ASSERT_FALSE(found.differences.empty());
    EXPECT_EQ(found.differences.front(), row.gain);

    // Taking the unit's settings stores what it announced and sends nothing.
    room.link.clear();
    room.check().takeUnitSettings(0);
    EXPECT_TRUE(room.link.log.empty());
    EXPECT_EQ(room.check().unit(0).state, UnitCheckState::Same);
    room.closeAnswerWindow();
    ASSERT_EQ(room.check().run(), RoomCheck::Outcome::Started);
    room.receive(1, row.announcement);
    EXPECT_EQ(room.check().unit(0).state, UnitCheckState::Same) << "the record holds it now";
}

INSTANTIATE_TEST_SUITE_P(RoomCheck, EveryVariant,
    ::testing::Values(VariantRow { "ARN1", arn1Announcement("Seat 1"), Settings + Colours,
                          { UnitField::Gain, "gain", "+12dB", "+9dB" } },
        VariantRow { "ARN1 short", arn1ShortAnnouncement("Seat 1"), Settings,
            { UnitField::Gain, "gain", "+12dB", "+9dB" } },
        VariantRow { "VEL-K", velkAnnouncement("Seat 1"), SettingsWithout48V + Colours,
            { UnitField::Gain, "gain", "+9dB", "+6dB" } },
        VariantRow { "VEL-K short", velkShortAnnouncement("Seat 1"), SettingsWithout48V,
            { UnitField::Gain, "gain", "+9dB", "+6dB" } },
        VariantRow { "PXL2", pxl2Announcement("Seat 1", clampedPxl2()),
            Settings + Colours + pxl2Equaliser(), { UnitField::Gain, "gain", "+10dB", "+9dB" } }),
    [](const auto &info) {
        std::string name = info.param.name;
        std::erase_if(name, [](char c) { return c == ' ' || c == '-'; });
        return name;
    });

class StateLog final : public RoomObserver {
public:
    void unitCheckChanged(int slot, const UnitCheck &check) override
    {
        changes.push_back(std::to_string(slot + 1) + " " + unitCheckStateText(check.state));
    }
    std::vector<std::string> changes;
};

TEST(RoomCheckAnswers, NotRespondingCountsFromTheReportedSendTimeAndAnythingBringsAUnitBack)
{
    CheckedRoom room;
    StateLog log;
    room.room.observers().add(log);
    const LocalTime registered { 2026, 1, 4, 1, 9, 15, 30, 0 };
    room.clock.setLocalTime(registered);
    for (int unit = 1; unit <= 6; ++unit)
        room.receive(unit, arn1Announcement("Seat " + std::to_string(unit)));
    room.clock.setLocalTime({ 2026, 1, 4, 1, 9, 16, 0, 0 });
    room.clock.advance(10000);

    // A long queue ahead: the requests leave 5 s after the check began.
    room.link.holdFences = true;
    ASSERT_EQ(room.check().run(), RoomCheck::Outcome::Started);
    EXPECT_EQ(room.check().run(), RoomCheck::Outcome::Skipped) << "one check at a time";
    room.clock.advance(1000);
    room.receive(1, report('G', { 7 })); // a level: answering, settings not compared
    room.clock.advance(4000);
    room.room.tick();
    EXPECT_TRUE(log.changes.empty()) << "still queued: nobody is late yet";
    room.link.releaseFences(room.clock.monotonicMs());

    room.clock.advance(1500);
    room.receive(2, arn1Announcement("Seat 2"));
    room.clock.advance(RoomCheck::AnswerWindowMs - 1500 - 1);
    room.room.tick();
    EXPECT_EQ(log.changes, (std::vector<std::string> { "2 same" }));
    room.clock.advance(1);
    room.room.tick();
    EXPECT_EQ(log.changes,
        (std::vector<std::string> { "2 same", "3 not responding", "4 not responding",
            "5 not responding", "6 not responding" }));
    EXPECT_EQ(room.check().unit(2).lastHeard, registered);
    EXPECT_EQ(room.check().unit(0).state, UnitCheckState::Answering);
    EXPECT_EQ(roomStatusText(room.check().summary(), *room.store),
        "6 units \u00b7 2 answering \u00b7 4 not responding (Seat 3, Seat 4, Seat 5 and 1 more)");

    // Unit 2's attach answer still waits: the next check is skipped until it has left.
    EXPECT_EQ(room.check().run(), RoomCheck::Outcome::Skipped);
    room.link.releaseFences(room.clock.monotonicMs());
    room.link.holdFences = false;

    // Anything at all brings a unit back, and its next announcement is compared.
    room.receive(3, report('E', { 3, 1, 1, 0, 0, 2 }));
    EXPECT_EQ(room.check().unit(2).state, UnitCheckState::Answering);
    room.record(2).gain = 5;
    room.receive(3, arn1Announcement("Seat 3"));
    EXPECT_EQ(room.check().unit(2).state, UnitCheckState::Differs);
    EXPECT_EQ(log.changes.back(), "3 differs");
    EXPECT_EQ(room.check().run(), RoomCheck::Outcome::Started);
    room.room.observers().remove(log);
}

} // namespace
} // namespace arx

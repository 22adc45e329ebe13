// The units' settings on the recording link and the manual clock: what is stored, exactly
// which frames and pauses go out, and what is announced.
#include "mic/UnitController.h"

#include "dsp/CoefficientFrames.h"

#include "RecordingLink.h"

#include <gtest/gtest.h>

#include <functional>

namespace arx {
namespace {

using Lines = std::vector<std::string>;

const std::string Unit = "127.0.50.12";

// Every frame as "%X" (its letter), every pause as "pause N", in order.
Lines wire(const test::RecordingLink &link)
{
    Lines lines;
    std::size_t frame = 0;
    for (const std::string &line : link.log) {
        if (line.starts_with("pause")) {
            lines.push_back(line);
            continue;
        }
        EXPECT_TRUE(line.ends_with("-> " + Unit + ":39030")) << line;
        const std::vector<std::uint8_t> &bytes = link.frames.at(frame++);
        lines.push_back(std::string { '%', static_cast<char>(bytes.at(1)) });
    }
    return lines;
}

// A frame sent twice, 20 ms apart, each followed by its sender's own 10 ms.
Lines twice(const std::string &frame)
{
    return { frame, "pause 10", "pause 20", frame, "pause 10" };
}

class RecordingObserver final : public RoomObserver {
public:
    void unitChanged(int slot, UnitFields fields) override
    {
        calls.push_back(
            "unit " + std::to_string(slot) + " fields " + std::to_string(fields.bits()));
    }
    Lines calls;
};

std::string announced(int slot, UnitFields fields)
{
    return "unit " + std::to_string(slot) + " fields " + std::to_string(fields.bits());
}

struct Strip {
    Store store;
    test::RecordingLink link;
    ManualClock clock;
    RecordingObserver view;
    UnitController controller { store, link, clock, view };

    // The unit of slot 2, of `type`, online unless told.
    explicit Strip(std::int32_t type, bool online = true)
    {
        SetDefaults(store);
        addUnit(2, type, "Seat 03", online);
        setText(record().ip, Unit);
    }
    DeviceRecord &record() { return store.unitTable[2]; }
    DeviceRecord &addUnit(int slot, std::int32_t type, const std::string &name, bool online = true)
    {
        DeviceRecord &unit = store.unitTable[static_cast<std::size_t>(slot)];
        unit.type = type;
        unit.inUse = online ? 1 : 0;
        setText(unit.name, name);
        setText(unit.ip, "127.0.50." + std::to_string(10 + slot));
        return unit;
    }
};

// ---- The send table -----------------------------------------------------------------------

struct SendCase {
    const char *name;
    UnitSetting setting;
    std::int32_t value;
    std::int32_t DeviceRecord::*field;
    // By type 1..5: what is stored (0 where the family lacks the control or cannot hold the
    // value, so nothing changes) and the frame (empty for none).
    std::int32_t stored[5];
    const char *frames[5];
};

void PrintTo(const SendCase &row, std::ostream *out)
{
    *out << row.name;
}

class StripSendTable : public ::testing::TestWithParam<SendCase> { };

TEST_P(StripSendTable, StoresThenSendsTheFamilysFrameTwiceOnlineAndNothingOffline)
{
    const SendCase &row = GetParam();
    for (std::int32_t type = 1; type <= 5; ++type) {
        for (bool online : { true, false }) {
            Strip strip(type, online);
            const ChangeOutcome outcome = strip.controller.set(2, row.setting, row.value);
            EXPECT_EQ(strip.record().*row.field, row.stored[type - 1])
                << "type " << type << (online ? " online" : " offline") << ": stored";
            const std::string frame = row.frames[type - 1];
            const bool taken = outcome == ChangeOutcome::Changed;
            EXPECT_EQ(strip.view.calls.size(), taken ? 1u : 0u) << "announced once when taken";
            const Lines expected = online && taken ? twice(frame) : Lines {};
            EXPECT_EQ(wire(strip.link), expected)
                << "type " << type << (online ? " online" : " offline");
        }
    }
}

constexpr std::int32_t Magenta = 0xFF00FF; // colour index 5

INSTANTIATE_TEST_SUITE_P(EveryControl, StripSendTable,
    ::testing::Values(SendCase { "mode", UnitSetting::Mode, 2, &DeviceRecord::mode,
                          { 2, 2, 2, 2, 2 }, { "%A", "%H", "%A", "%A", "%H" } },
        SendCase { "mute", UnitSetting::Mute, 1, &DeviceRecord::micMute, { 1, 1, 1, 1, 1 },
            { "%A", "%H", "%A", "%A", "%H" } },
        SendCase { "phantom only where the family has it", UnitSetting::Phantom, 1,
            &DeviceRecord::phantom, { 1, 0, 0, 1, 0 }, { "%A", "", "", "%A", "" } },
        SendCase { "locate", UnitSetting::Locate, 1, &DeviceRecord::locate, { 1, 1, 1, 1, 1 },
            { "%A", "%H", "%A", "%A", "%H" } },
        SendCase { "a ring colour of the list", UnitSetting::ColourMute, Magenta,
            &DeviceRecord::colourMute, { 5, 5, Magenta, 0, 0 }, { "%M", "%O", "%P", "", "" } },
        SendCase { "a free colour only PXL2 can show", UnitSetting::ColourCall, 0x345678,
            &DeviceRecord::colourCall, { 0, 0, 0x345678, 0, 0 }, { "", "", "%P", "", "" } },
        SendCase { "a mode outside the list", UnitSetting::Mode, 4, &DeviceRecord::mode,
            { 0, 0, 0, 0, 0 }, { "", "", "", "", "" } }),
    [](const auto &info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(StripSend, LowCutOfArn1AndVelKIsASettingsFrameTwice)
{
    for (auto [type, frame] : { std::pair { 1, "%A" }, { 2, "%H" }, { 4, "%A" }, { 5, "%H" } }) {
        Strip strip(type);
        strip.record().eqLowCutOn = 0;
        strip.controller.set(2, UnitSetting::LowCut, 1);
        EXPECT_EQ(strip.record().lowCut, 1);
        EXPECT_EQ(strip.record().eqLowCutOn, 0) << "only PXL2 units have an equaliser";
        EXPECT_EQ(wire(strip.link), twice(frame)) << "type " << type;
    }
}

TEST(StripSend, LowCutOfPxl2SendsTheLowCutBandThenSettingsTwice)
{
    Strip strip(UnitTypePxl2);
    strip.controller.set(2, UnitSetting::LowCut, 1);
    EXPECT_EQ(strip.record().eqLowCutOn, 1) << "the equaliser's low cut follows the toggle";
    EXPECT_EQ(wire(strip.link),
        (Lines { "%T", "pause 10", "pause 20", "%A", "pause 10", "pause 20", "%A", "pause 10",
            "pause 20" }));
    EXPECT_EQ(strip.link.frames[0][2], MicLowCutBand - 1) << "band 5, the low cut, goes out as 4";

    Strip offline(UnitTypePxl2, false);
    offline.controller.set(2, UnitSetting::LowCut, 1);
    EXPECT_EQ(offline.record().eqLowCutOn, 1);
    EXPECT_TRUE(offline.link.log.empty());
}

TEST(StripSend, PureRedIsKeptRedInTheLowByteAndGoesOutRedFirst)
{
    Strip strip(UnitTypePxl2);
    strip.controller.set(2, UnitSetting::ColourOpen, 0x0000FF);
    EXPECT_EQ(strip.record().colourOpen, 0x0000FF);
    const std::vector<std::uint8_t> &frame = strip.link.frames.at(0);
    ASSERT_EQ(frame.size(), 3u + 8u + 9u);
    // '%', 'P', the eight code bytes, then open, mute, call as three bytes each.
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin() + 10, frame.begin() + 13),
        (std::vector<std::uint8_t> { 0xFF, 0x00, 0x00 }));
}

// ---- Gain -----------------------------------------------------------------------------------

TEST(StripGain, Pxl2StoresDecibelsAndTheOthersTheIndex)
{
    for (bool online : { true, false }) {
        Strip pxl2(UnitTypePxl2, online);
        pxl2.record().gain = 9;
        const auto list = gainListFor(UnitTypePxl2);
        EXPECT_STREQ(list[static_cast<std::size_t>(gainListIndex(pxl2.record()))], "+9dB");
        EXPECT_EQ(pxl2.controller.set(2, UnitSetting::Gain, 15), ChangeOutcome::Changed);
        EXPECT_STREQ(list[5], "+15dB");
        EXPECT_EQ(pxl2.record().gain, 15) << (online ? "online" : "offline");
    }

    Strip velk(UnitTypeVelK);
    velk.record().gain = 0;
    EXPECT_STREQ(
        gainListFor(UnitTypeVelK)[static_cast<std::size_t>(gainListIndex(velk.record()))], "-6dB");
    velk.controller.set(2, UnitSetting::Gain, 15);
    EXPECT_EQ(velk.record().gain, 7) << "+15dB is the eighth entry";
    EXPECT_EQ(wire(velk.link), twice("%H"));

    Strip arn1(UnitTypeArn1);
    EXPECT_EQ(arn1.controller.set(2, UnitSetting::Gain, -6), ChangeOutcome::NotHeld);
    EXPECT_EQ(arn1.controller.set(2, UnitSetting::Gain, 4), ChangeOutcome::NotHeld);
    EXPECT_TRUE(arn1.link.log.empty());

    EXPECT_EQ(gainListFor(UnitTypeArn1).size(), 6u);
    EXPECT_EQ(gainListFor(UnitTypeVelKShort).size(), 8u);
}

// ---- Locate ---------------------------------------------------------------------------------

TEST(StripLocate, GoesOffAtTheFirstTickMoreThanTenSecondsAfterItWasSwitchedOn)
{
    Strip strip(UnitTypeArn1);
    strip.clock.advance(123456);
    strip.controller.set(2, UnitSetting::Locate, 1);
    EXPECT_EQ(strip.record().locateActive, 1);
    strip.link.clear();

    for (int tick = 0; tick < 100; ++tick) {
        strip.clock.advance(100);
        strip.controller.tick();
    }
    EXPECT_EQ(strip.record().locate, 1) << "at exactly 10 s it is still on";
    EXPECT_TRUE(strip.link.log.empty());

    strip.clock.advance(100);
    strip.controller.tick();
    EXPECT_EQ(strip.record().locate, 0);
    EXPECT_EQ(strip.record().locateActive, 0);
    EXPECT_EQ(strip.view.calls.back(), announced(2, UnitField::Locate)) << "the time-out is told";
    EXPECT_EQ(wire(strip.link), twice("%A"));

    strip.link.clear();
    strip.clock.advance(60000);
    strip.controller.tick();
    EXPECT_TRUE(strip.link.log.empty()) << "once only";
}

TEST(StripLocate, EndsAcrossMidnight)
{
    Strip strip(UnitTypeVelK);
    strip.clock.setLocalTime({ 2026, 1, 4, 4, 23, 59, 55, 0 });
    strip.controller.set(2, UnitSetting::Locate, 1);
    EXPECT_EQ(strip.record().locateStart.second, 55) << "the local time is still recorded";
    strip.clock.setLocalTime({ 2026, 1, 5, 5, 0, 0, 6, 0 });
    strip.clock.advance(10100);
    strip.link.clear();
    strip.controller.tick();
    EXPECT_EQ(strip.record().locate, 0);
    EXPECT_EQ(wire(strip.link), twice("%H"));
}

TEST(StripLocate, SwitchedOffByHandSendsNoTimeoutFrame)
{
    Strip strip(UnitTypePxl2);
    strip.controller.set(2, UnitSetting::Locate, 1);
    strip.clock.advance(3000);
    strip.controller.set(2, UnitSetting::Locate, 0);
    EXPECT_EQ(strip.record().locateActive, 0);
    strip.link.clear();
    strip.view.calls.clear();
    strip.clock.advance(20000);
    strip.controller.tick();
    EXPECT_TRUE(strip.link.log.empty());
    EXPECT_TRUE(strip.view.calls.empty());
}

TEST(StripLocate, OfflineTimeoutClearsLocateWithoutSending)
{
    Strip strip(UnitTypeArn1, false);
    strip.controller.set(2, UnitSetting::Locate, 1);
    strip.clock.advance(10001);
    strip.controller.tick();
    EXPECT_EQ(strip.record().locate, 0);
    EXPECT_EQ(strip.record().locateActive, 0);
    EXPECT_TRUE(strip.link.log.empty());
}

// ---- COPY -----------------------------------------------------------------------------------

TEST(StripCopy, ListHoldsOnlineUnitsOfTheSameTypeButNeverTheUnitItself)
{
    Strip strip(UnitTypeArn1);
    strip.addUnit(0, UnitTypeArn1, "A");
    strip.addUnit(1, UnitTypeArn1Short, "other type");
    strip.addUnit(5, UnitTypeArn1, "offline", false);
    strip.addUnit(63, UnitTypeArn1, "\xBB\xE1"); // GBK bytes stay bytes
    std::vector<std::pair<std::string, int>> entries;
    for (const CopyEntry &entry : copySources(strip.store, 2))
        entries.emplace_back(entry.nameBytes, entry.slot);
    EXPECT_EQ(
        entries, (std::vector<std::pair<std::string, int>> { { "A", 0 }, { "\xBB\xE1", 63 } }));
}

TEST(StripCopy, CopiesFromTheFirstOnlineUnitOfThatNameAndTypeAndRefreshesFirst)
{
    Strip strip(UnitTypeArn1, false);
    strip.addUnit(0, UnitTypeArn1, "Twin", false).gain = 1; // went offline since
    strip.addUnit(1, UnitTypeVelK, "Twin").gain = 2; // another family
    strip.addUnit(4, UnitTypeArn1, "Twin").gain = 3;
    strip.addUnit(7, UnitTypeArn1, "Twin").gain = 4;
    strip.store.unitTable[4].eqBands[2].frequency = 777;
    strip.store.unitTable[4].eqBands[2].spare = 55;
    strip.store.unitTable[4].eqLowCutQ = 99;
    strip.store.unitTable[4].colourCall = 6;

    EXPECT_TRUE(strip.controller.copyFromUnit(2, "Twin"));
    EXPECT_EQ(strip.record().gain, 3) << "slot 4 is the first candidate";
    EXPECT_EQ(strip.record().colourCall, 6);
    EXPECT_EQ(strip.record().eqBands[2].frequency, 777);
    EXPECT_EQ(strip.record().eqBands[2].spare, 0) << "the spare field is not copied";
    EXPECT_NE(strip.record().eqLowCutQ, 99) << "the low cut's Q is not copied";
    EXPECT_EQ(
        strip.view.calls, Lines { announced(2, SettingsFields | ColourFields | EqualiserFields) });
    EXPECT_TRUE(strip.link.log.empty()) << "offline: nothing is sent";
}

TEST(StripCopy, NoMatchAndTheNullEntryCopyNothing)
{
    Strip strip(UnitTypeArn1);
    strip.record().gain = 2;
    strip.addUnit(0, UnitTypeArn1, "Elsewhere").gain = 5;
    strip.addUnit(1, UnitTypeArn1, "Seat 03").gain = 4; // the strip's own name, later slot
    EXPECT_FALSE(strip.controller.copyFromUnit(2, "Nobody"));
    EXPECT_FALSE(strip.controller.copyFromUnit(2, ""));
    EXPECT_EQ(strip.record().gain, 2);
    EXPECT_TRUE(strip.link.log.empty());
    EXPECT_TRUE(strip.view.calls.empty());

    EXPECT_TRUE(strip.controller.copyFromUnit(2, "Seat 03")) << "the other unit of the same name";
    EXPECT_EQ(strip.record().gain, 4);
}

struct CopySequence {
    std::int32_t type;
    Lines wire;
};

void PrintTo(const CopySequence &row, std::ostream *out)
{
    *out << "type " << row.type;
}

class StripCopySequence : public ::testing::TestWithParam<CopySequence> { };

TEST_P(StripCopySequence, SendsEachFrameOnceWithItsPauses)
{
    const CopySequence &row = GetParam();
    Strip strip(row.type);
    strip.addUnit(9, row.type, "Source").colourOpen = 0x0000FF;
    ASSERT_TRUE(strip.controller.copyFromUnit(2, "Source"));
    EXPECT_EQ(wire(strip.link), row.wire);
}

INSTANTIATE_TEST_SUITE_P(EveryType, StripCopySequence,
    ::testing::Values(CopySequence { 1, { "%M", "pause 10", "pause 50", "%A", "pause 10" } },
        CopySequence { 2, { "%O", "pause 10", "pause 50", "%H", "pause 10", "pause 50" } },
        CopySequence { 3,
            { "%P", "pause 10", "pause 50", "%T", "pause 10", "pause 20", "%T", "pause 10",
                "pause 20", "%T", "pause 10", "pause 20", "%T", "pause 10", "pause 20", "%T",
                "pause 10", "pause 20", "%A", "pause 10", "pause 50" } },
        CopySequence { 4, { "%A", "pause 10", "pause 50" } },
        CopySequence { 5, { "%H", "pause 10", "pause 50" } }));

TEST(StripCopy, Pxl2CopyCarriesTheWholeColourAndBandsOneToFive)
{
    Strip strip(UnitTypePxl2);
    strip.addUnit(9, UnitTypePxl2, "Source").colourMute = 0x80FF00;
    ASSERT_TRUE(strip.controller.copyFromUnit(2, "Source"));
    const std::vector<std::uint8_t> &colours = strip.link.frames.at(0);
    EXPECT_EQ(std::vector<std::uint8_t>(colours.begin() + 13, colours.begin() + 16),
        (std::vector<std::uint8_t> { 0x00, 0xFF, 0x80 }))
        << "mute colour, red byte first";
    for (int band = 1; band <= 5; ++band)
        EXPECT_EQ(strip.link.frames.at(static_cast<std::size_t>(band))[2], band - 1);
}

} // namespace
} // namespace arx

namespace arx {
namespace {

// ---- Many units at once, and the whole setting again -------------------------------------

TEST(UnitApply, ChangesTheRegisteredUnitsThatHaveTheControlAndSkipsTheRest)
{
    Strip room(UnitTypeArn1); // slot 2
    room.addUnit(0, UnitTypeVelK, "no 48 V");
    room.addUnit(1, UnitTypeArn1Short, "short ARN1");
    room.addUnit(3, UnitTypeArn1, "offline", false);
    const int slots[] = { 0, 1, 2, 3, 64 };
    const ApplyResult result = room.controller.apply(slots, UnitSetting::Phantom, 1);
    EXPECT_EQ(result.changed, (std::vector<int> { 1, 2 }));
    EXPECT_EQ(result.skipped, (std::vector<int> { 0, 3, 64 }));
    EXPECT_EQ(room.store.unitTable[3].phantom, 0) << "an unregistered unit is left alone";
    EXPECT_EQ(room.link.frames.size(), 4u) << "each changed unit's frame, twice";
    EXPECT_TRUE(room.link.log.front().ends_with("-> 127.0.50.11:39030"));
    EXPECT_TRUE(room.link.log.back().starts_with("pause"));
}

TEST(UnitSendAll, LeavesOutTheFramesThatCarryNoneOfTheFieldsAsked)
{
    Strip strip(UnitTypePxl2);
    strip.controller.sendAll(2, eqBandField(2) | UnitField::Mute);
    EXPECT_EQ(
        wire(strip.link), (Lines { "%T", "pause 10", "pause 20", "%A", "pause 10", "pause 50" }));
    EXPECT_EQ(strip.link.frames.at(0)[2], 1) << "band 2 alone";

    Strip offline(UnitTypeArn1, false);
    offline.controller.sendAll(2);
    EXPECT_TRUE(offline.link.log.empty());
}

} // namespace
} // namespace arx

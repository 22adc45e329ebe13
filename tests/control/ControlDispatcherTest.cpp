// The dispatcher on a room of recording seams: what a line changes, what goes out on the wire,
// what every client is pushed and what the sender alone is answered.
#include "control/ControlDispatcher.h"

#include "speaker/PresetFile.h"

#include "TestRoom.h"

#include <gtest/gtest.h>

#include <cstring>

namespace arx {
namespace {

using Lines = std::vector<std::string>;

class Pushed final : public ControlBroadcast {
public:
    void broadcast(const std::string &line) override { lines.push_back(line); }
    void sendTo(ClientFrames::ClientId, const std::string &line) override { lines.push_back(line); }
    Lines lines;
};

class Dispatching : public ::testing::Test {
protected:
    test::TestRoom room;
    Pushed pushed;
    ClientFrames frames;
    ControlReports reports { *room.store, pushed };
    ControlDispatcher dispatcher { room.room, frames, reports, pushed, "1.2.0" };
    ControlSession session { 1 };

    void SetUp() override
    {
        room.room.observers().add(reports);
        // ARN1, VEL-K and PXL2 units as numbers 1, 2 and 3.
        const std::int32_t types[] = { UnitTypeArn1, UnitTypeVelK, UnitTypePxl2 };
        for (int slot = 0; slot < 3; ++slot) {
            DeviceRecord &unit = room.store->unitTable[static_cast<std::size_t>(slot)];
            unit.inUse = 1;
            unit.type = types[slot];
            unit.unitNumber = slot + 1;
            setText(unit.ip, "127.0.150." + std::to_string(10 + slot));
            setText(unit.name, "Seat " + std::to_string(slot + 1));
        }
    }

    // The lines answered to the sender; what was pushed to everyone is in `pushed`.
    Lines send(const std::string &line)
    {
        pushed.lines.clear();
        room.link.clear();
        return dispatcher.handle(session, line);
    }
};

TEST_F(Dispatching, IndexZeroChangesTheUnitsThatHaveTheControlAndEveryClientHearsIt)
{
    EXPECT_EQ(send("< SET 0 PHANTOM ON >"), Lines {}) << "the push is the answer";
    EXPECT_EQ(pushed.lines, Lines { "< REP 1 PHANTOM ON >" }) << "48 V is ARN1's alone";
    EXPECT_EQ(room.link.log.size(), 5u) << "'%A', 10, 20, '%A', 10 to unit 1 only";

    // The same again changes no value: nothing is pushed, the sender still hears the value.
    EXPECT_EQ(send("< SET 0 PHANTOM ON >"), Lines { "< REP 1 PHANTOM ON >" });
    EXPECT_EQ(pushed.lines, Lines {});

    EXPECT_EQ(send("< SET 0 GAIN -6dB >"), Lines {});
    EXPECT_EQ(pushed.lines, Lines { "< REP 2 GAIN -6dB >" }) << "only VEL-K's list holds -6 dB";
    EXPECT_EQ(send("< SET 0 EQ2 1000 -3.0 2.5 >"), Lines {});
    EXPECT_EQ(pushed.lines, Lines { "< REP 3 EQ2 1000 -3.0 2.5 >" });
    const MicEqBand &band = room.store->unitTable[2].eqBands[1];
    EXPECT_EQ(band.frequency, 1000);
    EXPECT_EQ(band.gain, 270);
    EXPECT_EQ(band.q, 25);

    EXPECT_EQ(send("< SET \"Seat 3\" LOW_CUT TOGGLE >"), Lines {});
    EXPECT_EQ(pushed.lines, (Lines { "< REP 3 LOW_CUT ON >", "< REP 3 EQ_LOW_CUT ON 20 >" }))
        << "a PXL2 unit's low cut is its equaliser's";
    EXPECT_EQ(send("< GET 0 PHANTOM >"), Lines { "< REP 1 PHANTOM ON >" });
    EXPECT_EQ(send("< GET 9 DEVICE >"), Lines { "< REP 9 DEVICE NONE >" });
    EXPECT_EQ(send("< GET 2 DEVICE >"),
        Lines { "< REP 2 DEVICE \"Seat 2\" 127.0.150.11 VEL-K ONLINE >" });
}

TEST_F(Dispatching, RefusedLinesChangeNothingAndNameTheirIndexAndParameterAsSent)
{
    const Lines refused[] = {
        { "< SET 2 phantom ON >", "< ERR 2 phantom this unit's family has no such control >" },
        { "< SET 1 GAIN -6dB >", "< ERR 1 GAIN not a value this unit takes >" },
        { "< SET 1 MUTE MAYBE >", "< ERR 1 MUTE not a value of MUTE >" },
        { "< SET 65 MUTE ON >", "< ERR 65 MUTE unknown index >" },
        { "< SET 9 MUTE ON >", "< ERR 9 MUTE no unit has this number >" },
        { "< SET \"Nobody\" MUTE ON >", "< ERR \"Nobody\" MUTE no unit has this name >" },
        { "< SET 0 EQ1 1000 20.0 1.0 >", "< ERR 0 EQ1 not a value of EQ1 >" },
        { "< SET 1 LEVEL 3 >", "< ERR 1 LEVEL read only >" },
        { "< SET SPEAKER LEVEL_MAIN -6.3 >",
            "< ERR SPEAKER LEVEL_MAIN not a value of LEVEL_MAIN >" },
        { "< SET SPEAKER A_BAND3_GAIN 12.1 >",
            "< ERR SPEAKER A_BAND3_GAIN not a value of A_BAND3_GAIN >" },
        { "< SET SPEAKER NAME \"会议室会议室\" >",
            "< ERR SPEAKER NAME the name is longer than 10 bytes in GBK >" },
        { "< SET SPEAKER CONNECT 239.1.1.1 >",
            "< ERR SPEAKER CONNECT CONNECT takes the processor's unicast IPv4 address >" },
        { "< SET SPEAKER DEVICE_RESET >",
            "< ERR SPEAKER DEVICE_RESET no processor is connected >" },
        { "< SET SPEAKER RECALL \"../etc/x.box\" >",
            "< ERR SPEAKER RECALL a preset is named by its file name in the preset folder alone "
            ">" },
        { "< SET SPEAKER RECALL \"x.txt\" >", "< ERR SPEAKER RECALL a preset is a .box file >" },
        { "< SET ARX METER_RATE 50 >",
            "< ERR ARX METER_RATE a meter rate is 0 (off) or 100 to 60000 ms >" },
        { "< SET ARX VERSION 2 >", "< ERR ARX VERSION read only >" },
        { "< GET ARX SEARCH ON >", "< ERR ARX SEARCH a GET takes no value >" },
    };
    const Store before = *room.store;
    for (const Lines &row : refused) {
        EXPECT_EQ(send(row[0]), Lines { row[1] }) << row[0];
        EXPECT_TRUE(pushed.lines.empty()) << row[0];
        EXPECT_TRUE(room.link.log.empty()) << row[0];
    }
    EXPECT_EQ(std::memcmp(&before.unitTable, &room.store->unitTable, sizeof before.unitTable), 0);
    EXPECT_EQ(std::memcmp(&before.speaker, &room.store->speaker, sizeof before.speaker), 0);
    EXPECT_TRUE(room.prompts.shown.empty()) << "a command never opens a dialog";
}

TEST_F(Dispatching, ProcessorValuesAsTheWindowShowsThemAndActionsAnsweredDone)
{
    room.store->speaker.rdaConnected = 1;
    EXPECT_EQ(send("< SET SPEAKER LEVEL_MAIN -6 >"), Lines {});
    EXPECT_EQ(pushed.lines, Lines { "< REP SPEAKER LEVEL_MAIN -6.0 >" });
    EXPECT_EQ(room.store->speaker.mainLevel, 60);
    EXPECT_EQ(room.link.log, Lines { "AA 55 03 04 00 3C A5 -> 192.168.0.106:39060" });

    EXPECT_EQ(send("< SET SPEAKER b_lp_type \"variable\" >"), Lines {});
    EXPECT_EQ(pushed.lines,
        (Lines { "< REP SPEAKER B_LP_TYPE \"Variable\" >", "< REP SPEAKER B_LP_Q 0.1 >" }))
        << "Variable lifts a Q of 0 to its least";
    EXPECT_EQ(send("< GET SPEAKER A_THRESHOLD >"), Lines { "< REP SPEAKER A_THRESHOLD 0 >" });

    EXPECT_EQ(send("< SET SPEAKER A_BAND3_GAIN -3 >"), Lines {});
    EXPECT_EQ(send("< SET SPEAKER A_RESET >"), Lines {});
    EXPECT_EQ(pushed.lines,
        (Lines { "< REP SPEAKER PHASE_A ON >", "< REP SPEAKER A_BAND3_GAIN 0.0 >",
            "< REP SPEAKER A_HP_Q 1.0 >", "< REP SPEAKER A_LP_Q 1.0 >",
            "< REP SPEAKER A_RESET DONE >" }))
        << "only the values the reset changed, then the action";

    const std::vector<std::uint8_t> preset = [] {
        Store other;
        SetDefaults(other);
        other.speaker.mainLevel = 10;
        const PresetBytes bytes = encodePreset(other.speaker);
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    }();
    room.files.files["/presets/Lecture.box"] = preset;
    EXPECT_EQ(send("< SET SPEAKER RECALL \"Lecture\" >"), Lines {});
    EXPECT_EQ(pushed.lines.back(), "< REP SPEAKER RECALL \"Lecture.box\" >");
    EXPECT_NE(
        std::find(pushed.lines.begin(), pushed.lines.end(), "< REP SPEAKER LEVEL_MAIN 19.0 >"),
        pushed.lines.end());
    const Lines missing = send("< SET SPEAKER RECALL \"Gone.box\" >");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_TRUE(missing[0].starts_with(
        "< ERR SPEAKER RECALL The preset \"/presets/Gone.box\" was not recalled"))
        << missing[0];
    EXPECT_TRUE(room.prompts.shown.empty());
}

TEST_F(Dispatching, AClientsWaitingFramesAndTheHeavyActionsAreRationed)
{
    // 255 frames of this client still wait; a mute needs two.
    {
        const ClientFrames::Attribution attribution(frames, session.id());
        for (std::uint64_t ticket = 1; ticket <= 255; ++ticket)
            frames.queued(ticket, SendOutcome::Queued);
    }
    EXPECT_EQ(send("< SET 1 MUTE ON >"), Lines { "< ERR 1 MUTE busy >" });
    EXPECT_EQ(room.store->unitTable[0].micMute, 0) << "refused before anything is stored";
    frames.sent(1, 0, 0);
    EXPECT_EQ(send("< SET 1 MUTE ON >"), Lines {}) << "two fit once one has gone";

    ControlSession other(2);
    EXPECT_EQ(dispatcher.handle(other, "< SET ARX SEARCH ON >"), Lines {});
    EXPECT_TRUE(room.store->scanActive);
    room.clock.advance(999);
    EXPECT_EQ(
        dispatcher.handle(session, "< SET ARX SEARCH OFF >"), Lines { "< ERR ARX SEARCH busy >" })
        << "once a second from all clients together";
    room.clock.advance(1);
    pushed.lines.clear();
    EXPECT_EQ(dispatcher.handle(other, "< SET ARX SEARCH OFF >"), Lines {});
    EXPECT_FALSE(room.store->scanActive);
    EXPECT_EQ(pushed.lines,
        (Lines { "< REP ARX SEARCH OFF >", "< REP 1 DEVICE NONE >", "< REP 2 DEVICE NONE >",
            "< REP 3 DEVICE NONE >" }))
        << "every freed unit is told";
}

} // namespace
} // namespace arx

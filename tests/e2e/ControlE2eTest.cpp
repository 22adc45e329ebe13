// `arx --headless` against an arx-sim room on 127.0.150.0/24, driven over its room-control
// port by raw sockets (as a panel would) and by arxctl.
#include "HeadlessArx.h"

#include "SimControl.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace arx::test {
namespace {

using namespace std::chrono_literals;

const std::string Arx = "127.0.150.1";
const std::string Version = "< REP ARX VERSION " ARX_VERSION " >";

class HeadlessRoom : public ::testing::Test {
protected:
    // Units 1..5 of types 1..5 at .10 to .14, and the processor at .200.
    arxsim::SimProcess sim { { "--subnet", "127.0.150.0", "--units", "1,2,3,4,5", "--level-rate",
                                 "0" },
        "control-e2e-sim.log" };
    arxsim::SimControl room { sim.control() };
    std::unique_ptr<HeadlessArx> arx;

    void SetUp() override
    {
        arx = std::make_unique<HeadlessArx>(
            std::vector<std::string> { "--interface", Arx, "--control", Arx + ":0", "--search" },
            "control-e2e-arx.log");
        ASSERT_NE(arx->controlPort(), 0) << arx->log();
        ASSERT_TRUE(room.waitUntil([](arxsim::SimControl &r) { return r.unitsAttached(5); }))
            << "--search found every unit";
    }

    std::unique_ptr<RawControlClient> client()
    {
        auto made = std::make_unique<RawControlClient>(Arx, arx->controlPort());
        EXPECT_TRUE(made->connected());
        return made;
    }
    ArxctlRun arxctl(std::vector<std::string> arguments)
    {
        return runArxctl(Arx, arx->controlPort(), std::move(arguments));
    }
    // The client's answers up to the fence that follows what it sent.
    static std::vector<std::string> answers(RawControlClient &client)
    {
        std::vector<std::string> seen;
        EXPECT_TRUE(client.sendLine("< GET ARX VERSION >"));
        EXPECT_TRUE(client.waitFor(Version, &seen, 20s));
        seen.pop_back();
        return seen;
    }
};

TEST_F(HeadlessRoom, ASetGoesOutTwiceAndEveryClientHearsItAsItHearsTheUnitsOwnReports)
{
    auto panel = client();
    auto other = client();
    room.clear();
    ASSERT_TRUE(panel->sendLine("< SET 1 MUTE ON >"));
    EXPECT_TRUE(panel->waitFor("< REP 1 MUTE ON >"));
    EXPECT_TRUE(other->waitFor("< REP 1 MUTE ON >")) << "every client is told";
    ASSERT_TRUE(
        room.waitUntil([](arxsim::SimControl &r) { return r.unitSettingFrames(1).size() >= 2; }));
    std::this_thread::sleep_for(100ms);
    const std::vector<arxsim::Bytes> frames = room.unitSettingFrames(1);
    ASSERT_EQ(frames.size(), 2u) << "the frame and its repeat";
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_EQ(room.unit(1).number("micMute"), 1);

    ASSERT_TRUE(room.setSetting(2, "micMute", 1));
    EXPECT_TRUE(other->waitFor("< REP 2 MUTE ON >")) << "the unit's own report";

    const ArxctlRun set = arxctl({ "set", "all", "gain", "+9dB" });
    EXPECT_EQ(set.status, 0) << set.errors;
    EXPECT_EQ(set.output, "1 +9dB\n2 +9dB\n3 +9dB\n4 +9dB\n5 +9dB\n");
    EXPECT_TRUE(other->waitFor("< REP 5 GAIN +9dB >"));
    const ArxctlRun list = arxctl({ "list" });
    EXPECT_EQ(list.status, 0) << list.errors;
    EXPECT_NE(list.output.find("2    Seat 02  127.0.150.11  VEL-K  ONLINE  ON    +9dB"),
        std::string::npos)
        << list.output;
    const ArxctlRun located = arxctl({ "set", "Seat 04", "locate", "on" });
    EXPECT_EQ(located.status, 0) << located.errors;
    EXPECT_TRUE(
        room.waitUntil([](arxsim::SimControl &r) { return r.unit(4).number("locate") == 1; }));
}

TEST_F(HeadlessRoom, RefusedInputChangesNothing)
{
    auto panel = client();
    room.clear();
    for (const char *line : { "< SET 2 PHANTOM ON >", "< SET 1 GAIN -6dB >", "< SET 66 MUTE ON >",
             "< SET \"Nobody\" MUTE ON >", "< SET 3 EQ1 10 0.0 1.0 >", "< SET SPEAKER LEVEL_A 30 >",
             "< SET SPEAKER RECALL \"../../etc/passwd\" >", "SET 1 MUTE ON", "< SET 1 MUTE >" })
        ASSERT_TRUE(panel->sendLine(line));
    const std::vector<std::string> refused = answers(*panel);
    ASSERT_EQ(refused.size(), 9u);
    for (const std::string &answer : refused)
        EXPECT_TRUE(answer.starts_with("< ERR ")) << answer;
    const ArxctlRun run = arxctl({ "set", "1", "mode", "LOUD" });
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, "arxctl: 1 MODE: not a value of MODE\n");

    std::this_thread::sleep_for(200ms);
    for (int unit = 1; unit <= 5; ++unit)
        EXPECT_TRUE(room.unitSettingFrames(unit).empty()) << "unit " << unit;
    EXPECT_TRUE(room.processorFrames().empty());
    EXPECT_EQ(room.unit(1).number("gain"), room.unit(4).number("gain")) << "as announced";
}

TEST_F(HeadlessRoom, NoClientCanCrowdOutOthersOrHoldOnToTheProgram)
{
    // A line too long is refused and the rest of the connection goes on.
    auto panel = client();
    ASSERT_TRUE(panel->sendLine(std::string(600, 'x')));
    EXPECT_EQ(answers(*panel), std::vector<std::string> { "< ERR - - line too long >" });

    // Frames of one client: toggling five units queues ten, and at most 256 may wait.
    room.clear();
    std::string burst;
    for (int i = 0; i < 40; ++i)
        burst += "< SET 0 MUTE TOGGLE >\r\n";
    ASSERT_TRUE(panel->sendBytes(burst));
    const std::vector<std::string> toggled = answers(*panel);
    const auto busy = std::count(toggled.begin(), toggled.end(), "< ERR 0 MUTE busy >");
    const auto taken = 40 - busy;
    EXPECT_GE(taken, 25);
    EXPECT_GT(busy, 0) << "refused once 256 frames wait";
    EXPECT_TRUE(room.waitUntil(
        [&](arxsim::SimControl &r) {
            return r.unitSettingFrames(5).size() == static_cast<std::size_t>(2 * taken);
        },
        20s))
        << "a refused SET stores and sends nothing";
    ASSERT_TRUE(panel->sendLine("< GET 1 MUTE >"));
    EXPECT_TRUE(
        panel->waitFor(taken % 2 ? "< REP 1 MUTE ON >" : "< REP 1 MUTE OFF >", nullptr, 5s));

    // A client that never reads is closed once 256 KiB wait for it.
    auto deaf = client();
    std::string requests;
    for (int i = 0; i < 1000; ++i)
        requests += "< GET 0 DEVICE >\r\n";
    for (int i = 0; i < 200 && deaf->sendBytes(requests); ++i) { }
    EXPECT_TRUE(deaf->closedByArx(10s));
    answers(*panel); // the others are served on

    // Sixteen clients at most; the next is told and closed.
    std::vector<std::unique_ptr<RawControlClient>> crowd;
    for (int i = 0; i < 15; ++i) {
        crowd.push_back(client());
        EXPECT_TRUE(answers(*crowd.back()).empty());
    }
    auto seventeenth = client();
    EXPECT_EQ(seventeenth->line(), std::optional<std::string>("< ERR - - too many clients >"));
    EXPECT_TRUE(seventeenth->closedByArx());
}

TEST_F(HeadlessRoom, ACheckFromArxctlTellsEveryClientWhichUnitsStoppedAnsweringAndDiffer)
{
    auto panel = client();
    room.setSilent(2, true);
    room.setSetting(1, "micMute", 1, true); // at the unit, without telling ARX
    const ArxctlRun check = arxctl({ "check" });
    EXPECT_EQ(check.status, 0) << check.errors;
    EXPECT_TRUE(panel->waitFor("< REP ARX CHECK RUNNING >"));
    EXPECT_TRUE(panel->waitFor("< REP 1 DEVICE \"Seat 01\" 127.0.150.10 ARN1 DIFFERS >"));
    EXPECT_TRUE(panel->waitFor(
        "< REP 2 DEVICE \"Seat 02\" 127.0.150.11 VEL-K NOT_RESPONDING >", nullptr, 10s));
    EXPECT_TRUE(panel->waitFor("< REP ARX CHECK IDLE >", nullptr, 10s));
}

TEST_F(HeadlessRoom, SigtermDrainsTheQueuedFramesAndExitsWithZero)
{
    auto panel = client();
    room.clear();
    ASSERT_TRUE(panel->sendLine("< SET 0 MUTE ON >"));
    ASSERT_TRUE(panel->sendLine("< SET 0 LOCATE ON >"));
    EXPECT_TRUE(panel->waitFor("< REP 5 LOCATE ON >")) << "both taken; their frames still wait";
    EXPECT_EQ(arx->terminate(), std::optional<int>(0)) << arx->log();
    for (int unit = 1; unit <= 5; ++unit)
        EXPECT_EQ(room.unitSettingFrames(unit).size(), 4u) << "unit " << unit;
    EXPECT_TRUE(panel->closedByArx());
}

TEST(HeadlessArx, OnlyTheAllowedNetworksGetInAndAPortInUseEndsTheProgram)
{
    HeadlessArx arx(
        { "--interface", Arx, "--control", Arx + ":0", "--control-allow", "127.0.150.0/25" },
        "control-e2e-allow.log");
    ASSERT_NE(arx.controlPort(), 0) << arx.log();
    RawControlClient outsider(Arx, arx.controlPort(), "127.0.150.201");
    ASSERT_TRUE(outsider.connected());
    EXPECT_TRUE(outsider.closedByArx(2s));
    EXPECT_EQ(outsider.line(0ms), std::nullopt) << "not a word to it";
    RawControlClient insider(Arx, arx.controlPort(), "127.0.150.100");
    ASSERT_TRUE(insider.sendLine("< GET ARX SEARCH >"));
    EXPECT_EQ(insider.line(), std::optional<std::string>("< REP ARX SEARCH OFF >"));

    HeadlessArx second({ "--interface", Arx, "--control", Arx + ":0" }, "control-e2e-second.log");
    EXPECT_EQ(second.exitStatus(5s), std::optional<int>(1));
    EXPECT_NE(
        second.log().find("UDP port 39030 on 127.0.150.1, cannot be opened"), std::string::npos)
        << second.log();
    HeadlessArx third({ "--interface", "127.0.150.2", "--control",
                          Arx + ":" + std::to_string(arx.controlPort()) },
        "control-e2e-third.log");
    EXPECT_EQ(third.exitStatus(5s), std::optional<int>(1));
    EXPECT_NE(third.log().find("room-control port"), std::string::npos) << third.log();
}

} // namespace
} // namespace arx::test

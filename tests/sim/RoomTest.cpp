#include "Room.h"
#include "ControlCommands.h"
#include "Wire.h"

#include <gtest/gtest.h>

namespace arxsim {
namespace {

constexpr Ipv4 Subnet = 0x7F000500; // 127.0.5.0
const Endpoint Application { 0x7F000501, UnitPort }; // 127.0.5.1:39030

Bytes searchCarrying(const Endpoint &endpoint)
{
    const Ipv4 a = endpoint.address;
    return { '%', 'C', static_cast<std::uint8_t>(endpoint.port >> 8),
        static_cast<std::uint8_t>(endpoint.port), static_cast<std::uint8_t>(a >> 24),
        static_cast<std::uint8_t>(a >> 16), static_cast<std::uint8_t>(a >> 8),
        static_cast<std::uint8_t>(a), '#' };
}

Room roomOf(std::vector<int> types, bool processor = true, double levelRate = 10)
{
    return Room({ Subnet, std::move(types), processor, levelRate });
}

class RecordingActions : public RoomActions {
public:
    void send(const Outgoing &outgoing) override { sent.push_back(outgoing); }
    std::optional<std::string> rebindUnit(int unit, Ipv4 address) override
    {
        rebinds.emplace_back(unit, address);
        return refuseRebind ? std::optional<std::string>("address in use") : std::nullopt;
    }
    void quit() override { quitAsked = true; }
    Traffic traffic() const override { return counted; }

    Traffic counted;
    std::vector<Outgoing> sent;
    std::vector<std::pair<int, Ipv4>> rebinds;
    bool refuseRebind = false;
    bool quitAsked = false;
};

TEST(RoomSearch, EveryUnitAnswersInOrderThenTheProcessor)
{
    Room room = roomOf({ 1, 2, 3 });
    const Reaction reaction = room.onSearch(searchCarrying(Application), { 0x7F000501, 40000 });
    ASSERT_EQ(reaction.sends.size(), 4u) << "three units and the processor answer";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(reaction.sends[i].from.unit, i) << "units answer in their order";
        EXPECT_EQ(reaction.sends[i].to, Application)
            << "answers go to the address and port the search carries, not to its sender";
    }
    EXPECT_EQ(reaction.sends[3].from.kind, Device::Processor);
    EXPECT_EQ(reaction.sends[3].bytes,
        Bytes({ 0xAA, 0x55, 0x08, 0x07, 'R', 'D', 'A', '-', 'S', 'I', 'M', 0xA5 }))
        << "the processor answers with its 07 frame and name";
    EXPECT_EQ(room.units()[0].address, Subnet + FirstUnitHost) << "units start at .10";
    EXPECT_EQ(room.processor()->address, Subnet + ProcessorHost) << "the processor is at .200";
}

TEST(RoomSearch, CarryingAnotherSubnetIsNotAnswered)
{
    Room room = roomOf({ 1, 2 });
    const Reaction reaction = room.onSearch(searchCarrying({ 0x7F000601, UnitPort }), Application);
    EXPECT_TRUE(reaction.sends.empty()) << "a room answers only searches for its own subnet";
    EXPECT_FALSE(room.lastSearch()) << "a foreign search is not remembered";
    Bytes truncated = searchCarrying(Application);
    truncated.pop_back();
    EXPECT_TRUE(room.onSearch(truncated, Application).sends.empty())
        << "a search request that is not 9 bytes ending in '#' is not answered";
}

TEST(RoomSearch, SilentDevicesDoNotAnswer)
{
    Room room = roomOf({ 1, 2, 3 });
    room.units()[1].silent = true;
    room.processor()->silent = true;
    const Reaction reaction = room.onSearch(searchCarrying(Application), Application);
    ASSERT_EQ(reaction.sends.size(), 2u) << "only the two speaking units answer";
    EXPECT_EQ(reaction.sends[0].from.unit, 0);
    EXPECT_EQ(reaction.sends[1].from.unit, 2);
}

TEST(RoomLevels, OnlyAttachedUnitsReportAndALateLoopCatchesUpBoundedly)
{
    Room room = roomOf({ 1, 2, 4 }, false, 10);
    room.onUnitFrame(1, { '%', 'K', 1, '#' }, Application);
    EXPECT_TRUE(room.levelReportsDue(0.05).empty()) << "nothing is due before the first period";
    const std::vector<Outgoing> first = room.levelReportsDue(0.1);
    ASSERT_EQ(first.size(), 1u) << "one attached unit, one report per period";
    EXPECT_EQ(first[0].from.unit, 1);
    EXPECT_EQ(first[0].bytes[1], 'L') << "the VEL-K unit reports with 'L'";
    EXPECT_EQ(first[0].to, Application) << "reports go to whoever attached the unit";
    EXPECT_DOUBLE_EQ(*room.nextLevelTime(), 0.2);

    EXPECT_EQ(room.levelReportsDue(1000.0).size(), 100u)
        << "after a long stall at most 100 rounds are made up";
    EXPECT_GT(*room.nextLevelTime(), 1000.0) << "and the schedule starts afresh";
}

TEST(RoomLevels, RateZeroSendsNone)
{
    Room room = roomOf({ 1 }, false, 0);
    room.onUnitFrame(0, { '%', 'F', 1, '#' }, Application);
    EXPECT_FALSE(room.nextLevelTime()) << "no level reports are ever due";
    EXPECT_TRUE(room.levelReportsDue(100.0).empty());
}

TEST(RoomProcessor, AcknowledgesConnectionUnlessIgnoring)
{
    Room room = roomOf({}, true);
    const Bytes request { 0xAA, 0x55, 0x07, 0x07, 0x98, 0x94, 127, 0, 5, 1, 0xA5 };
    room.processor()->ignoreRequests = true;
    EXPECT_TRUE(room.onProcessorFrame(request, Application).sends.empty())
        << "an ignoring processor leaves the request unanswered";
    EXPECT_FALSE(room.processor()->connected);
    room.processor()->ignoreRequests = false;
    const Reaction reaction = room.onProcessorFrame(request, Application);
    ASSERT_EQ(reaction.sends.size(), 1u);
    EXPECT_EQ(reaction.sends[0].to, Application) << "the acknowledgement goes to the sender";
    EXPECT_EQ(reaction.sends[0].bytes[3], 0x07) << "the acknowledgement is an 07 frame";
    EXPECT_TRUE(room.processor()->connected);
    EXPECT_EQ(room.processor()->received.size(), 2u) << "both requests are kept";
}

TEST(RoomProcessor, KeepsEveryFrameAndAppliesNameLevelsPhaseAndReset)
{
    Room room = roomOf({}, true);
    SimProcessor &p = *room.processor();
    const std::vector<Bytes> frames {
        { 0xAA, 0x55, 0x0B, 0x06, 'H', 'a', 'l', 'l', 0, 0, 0, 0, 0, 0, 0xA5 },
        { 0xAA, 0x55, 0x03, 0x04, 0x01, 0x2A, 0xA5 },
        { 0xAA, 0x55, 0x03, 0x0A, 0x01, 0x01, 0xA5 },
        { 0xAA, 0x55, 0x03, 0x04, 0x03, 0x2A, 0xA5 },
        { 0xAA, 0x55, 0x05, 0x04, 0x01, 0x2A, 0xA5 },
        { 0x25, 0x46, 0x01, 0x23 },
    };
    for (const Bytes &frame : frames)
        room.onProcessorFrame(frame, Application);
    EXPECT_EQ(p.received, frames) << "every frame is kept in order, understood or not";
    EXPECT_EQ(p.name, "Hall") << "06 names the processor; padding NULs are not part of it";
    EXPECT_EQ(p.levelA, 0x2A) << "04 with selector 01 sets the level of channel A";
    EXPECT_EQ(p.phaseB, 1) << "0A with selector 01 sets the phase of channel B";
    EXPECT_EQ(p.ignoredFrames, 3)
        << "a bad selector, a length that does not match L and a unit frame are ignored";
    room.onProcessorFrame({ 0xAA, 0x55, 0x01, 0x08, 0xA5 }, Application);
    EXPECT_EQ(p.resets, 1);
    EXPECT_EQ(p.levelA, 0) << "a reset clears the levels";
}

class ControlTest : public ::testing::Test {
protected:
    std::string run(const std::string &line) { return executeControl(line, room, actions); }

    Room room = roomOf({ 1, 2, 3 });
    RecordingActions actions;
};

TEST_F(ControlTest, RefusesUnknownCommandsAndUnitsOutOfRange)
{
    EXPECT_EQ(run("dance").rfind("error unknown command", 0), 0u) << run("dance");
    EXPECT_EQ(run("unit 4").rfind("error the unit number must be a number from 1 to 3", 0), 0u)
        << run("unit 4");
    EXPECT_EQ(run("unit x").rfind("error", 0), 0u) << "a unit number is a number";
    EXPECT_EQ(run("").rfind("error", 0), 0u) << "an empty line is no command";
}

TEST_F(ControlTest, AnnounceNeedsASearchFirst)
{
    EXPECT_EQ(run("announce 1"), "error no search request has reached this room yet");
    room.onSearch(searchCarrying(Application), Application);
    EXPECT_EQ(run("announce 2"), "ok sent=1");
    ASSERT_EQ(actions.sent.size(), 1u);
    EXPECT_EQ(actions.sent[0].bytes[1], 'D') << "the unit's announcement went out";
    EXPECT_EQ(actions.sent[0].to, Application) << "to the last search's address";
    room.units()[0].silent = true;
    EXPECT_EQ(run("announce all"), "ok sent=2") << "a silent unit does not announce";
}

TEST_F(ControlTest, RenameTakesPercentEscapedBytes)
{
    EXPECT_EQ(run("rename 1 %D6%F7%CF%AF"), "ok name=%D6%F7%CF%AF");
    EXPECT_EQ(room.units()[0].name, "\xD6\xF7\xCF\xAF") << "the name is stored as raw bytes";
    EXPECT_EQ(run("rename 2"), "ok name=") << "without a name the unit's name becomes empty";
    EXPECT_EQ(run("rename 1 %G1").rfind("error", 0), 0u) << "a broken escape is refused";
    EXPECT_EQ(run("rename 1 " + std::string(256, 'x')).rfind("error", 0), 0u)
        << "a name longer than its one-byte length is refused";
}

TEST_F(ControlTest, MoveStaysOnLoopbackInsideTheSubnetAndOnFreeAddresses)
{
    EXPECT_EQ(run("move 1 192.168.0.106"),
        "error refusing 192.168.0.106: only loopback addresses are allowed");
    EXPECT_EQ(run("move 1 127.0.6.10").rfind("error 127.0.6.10 lies outside", 0), 0u);
    EXPECT_EQ(run("move 1 127.0.5.11"), "error 127.0.5.11 is taken by another device of this room");
    EXPECT_TRUE(actions.rebinds.empty()) << "refused moves touch no socket";
    actions.refuseRebind = true;
    EXPECT_EQ(run("move 1 127.0.5.50"), "error address in use");
    EXPECT_EQ(room.units()[0].address, Subnet + 10) << "a failed rebind keeps the old address";
    actions.refuseRebind = false;
    EXPECT_EQ(run("move 1 127.0.5.50"), "ok address=127.0.5.50");
    EXPECT_EQ(room.units()[0].address, Subnet + 50);
}

TEST_F(ControlTest, SetReportsOnlyToAController)
{
    EXPECT_EQ(run("set 1 micMute 1"), "ok reported=0") << "an unattached unit reports to nobody";
    room.onUnitFrame(0, { '%', 'F', 1, '#' }, Application);
    EXPECT_EQ(run("set 1 gain 4"), "ok reported=1");
    ASSERT_EQ(actions.sent.size(), 1u);
    EXPECT_EQ(actions.sent[0].bytes, Bytes({ '%', 'E', 4, 0, 1, 1, 0, 1, '#' }))
        << "the report carries every setting, with the new gain and mute";
    EXPECT_EQ(run("set 1 volume 3").rfind("error usage", 0), 0u) << "only the six settings";
}

TEST_F(ControlTest, StateListsTheEqualiserOfPxl2UnitsOnly)
{
    const std::string pxl2 = run("unit 3");
    EXPECT_NE(pxl2.find(" eq1=1,1,100,100,300"), std::string::npos) << pxl2;
    EXPECT_NE(pxl2.find(" eqframe5=none"), std::string::npos) << pxl2;
    EXPECT_EQ(run("unit 1").find(" eq1="), std::string::npos) << "ARN1 units have no equaliser";
}

TEST_F(ControlTest, TypeSilentProcessorClearAndQuit)
{
    EXPECT_EQ(run("type 1 4"), "ok type=4 family=ARN1");
    EXPECT_EQ(run("type 1 6").rfind("error the type must be a number from 1 to 5", 0), 0u);
    EXPECT_EQ(run("silent 2 on"), "ok silent=1");
    EXPECT_EQ(run("silent 2 maybe"), "error expected on or off, not \"maybe\"");
    EXPECT_EQ(run("processor ignore on"), "ok ignore=1 silent=0");
    room.onUnitFrame(0, { '%', 'F', 1, '#' }, Application);
    EXPECT_EQ(run("unit 1 frames"), "ok count=1 frames=25460123");
    EXPECT_EQ(run("clear"), "ok");
    EXPECT_EQ(run("unit 1 frames"), "ok count=0 frames=") << "clear forgets the received frames";
    EXPECT_EQ(run("quit"), "ok");
    EXPECT_TRUE(actions.quitAsked);
}

TEST_F(ControlTest, StatsReportsTheServersCountsBeyondTheRangeOfAnInt)
{
    actions.counted = { 3, 7, 5000000000u, 4999999990u, 2 };
    EXPECT_EQ(
        run("stats"), "ok searches=3 received=7 sent=5000000000 levelReports=4999999990 failed=2");
    EXPECT_EQ(run("stats now").rfind("error usage: stats", 0), 0u);
}

TEST(ControlWithoutProcessor, SaysSo)
{
    Room room = roomOf({ 1 }, false);
    RecordingActions actions;
    EXPECT_EQ(executeControl("processor", room, actions),
        "error this room has no processor (--no-processor)");
    EXPECT_EQ(executeControl("list", room, actions),
        "ok subnet=127.0.5.0 units=1 processor=none search=none");
}

} // namespace
} // namespace arxsim

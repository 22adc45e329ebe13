#include "protocol/Discovery.h"
#include "protocol/LocalAddress.h"

#include "DeviceFrames.h"
#include "RecordingLink.h"
#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

using namespace test;
using Lines = std::vector<std::string>;

constexpr const char *Own = "127.0.4.1";
constexpr const char *ProcessorOne = "127.0.4.200";
constexpr const char *ProcessorTwo = "127.0.4.201";

const std::string searchRequest = "25 43 98 76 7F 00 04 01 23 -> 239.254.50.123:9000";
std::string connectRequest(const std::string &processor)
{
    return "AA 55 07 07 98 94 7F 00 04 01 A5 -> " + processor + ":39060";
}

// Writes down every call of the discovery, in order.
class RecordingView final : public RoomObserver {
public:
    void searchChanged(bool pressed) override { add("search pressed ", pressed); }
    void unitShown(int slot) override { add("show strip ", slot); }
    void unitChanged(int slot, UnitFields) override { add("refresh strip ", slot); }
    void unitLevel(int slot) override { add("update meter ", slot); }
    void unitFreed(int slot) override { add("hide strip ", slot); }
    void connectionStarted() override { calls.push_back("connection started"); }
    void connectionChanged() override { calls.push_back("connection changed"); }
    void unitListChanged() override { calls.push_back("unit list"); }
    void processorListChanged() override { calls.push_back("processor list"); }

    Lines calls;

private:
    void add(const char *what, int value) { calls.push_back(what + std::to_string(value)); }
};

class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override { SetDefaults(store); }

    void receive(const std::string &sender, const Bytes &bytes)
    {
        discovery.received(datagramFrom(sender, bytes));
    }

    // Runs the connection timer as the window does, every 250 ms, and notes what went out
    // and when.
    Lines runTimer(std::int64_t untilMs)
    {
        Lines timed;
        link.clear();
        while (clock.monotonicMs() < untilMs) {
            clock.advance(250);
            discovery.tick();
            for (const std::string &line : link.log)
                timed.push_back(std::to_string(clock.monotonicMs()) + ": " + line);
            link.clear();
        }
        return timed;
    }

    Store store;
    RecordingLink link;
    ManualClock clock;
    ScriptedPrompts prompts;
    RecordingView view;
    std::optional<std::string> ownAddress = Own;
    Discovery discovery { store, link, clock, prompts, view, [this] { return ownAddress; } };
};

TEST_F(DiscoveryTest, StartingTheSearchSendsTheRequestTwice100MsApart)
{
    discovery.toggleSearch();
    EXPECT_TRUE(store.scanActive);
    EXPECT_EQ(
        link.log, (Lines { searchRequest, "pause 10", "pause 100", searchRequest, "pause 10" }));
    EXPECT_EQ(view.calls, (Lines { "search pressed 1", "unit list" }));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DiscoveryTest, StartingTheSearchEmptiesTheUnitListAndUnitsRegisterFromSlot0)
{
    discovery.startSearch();
    receive("127.0.4.10", arn1Announcement("first"));
    receive("127.0.4.11", arn1Announcement("second"));
    discovery.stopSearch();
    discovery.startSearch();
    EXPECT_EQ(discovery.unitList().rowCount(), 0u);
    receive("127.0.4.11", arn1Announcement("second"));
    EXPECT_EQ(store.unitTable[0].unitNumber, 1);
    EXPECT_EQ(textOf(store.unitTable[0].name), "second") << "the first to answer gets slot 0";
}

TEST_F(DiscoveryTest, AnAnnouncementRefreshesItsStripThenTheListThenShowsTheListedStrips)
{
    discovery.startSearch();
    receive("127.0.4.10", velkAnnouncement("a"));
    view.calls.clear();
    link.clear();
    receive("127.0.4.11", pxl2Announcement("b"));
    EXPECT_EQ(
        view.calls, (Lines { "refresh strip 1", "unit list", "show strip 0", "show strip 1" }));
    EXPECT_EQ(link.log, (Lines { "25 46 01 23 -> 127.0.4.11:39030", "pause 10" }));
    EXPECT_EQ(discovery.unitList().rowCount(), 2u);

    view.calls.clear();
    receive("127.0.4.11", report('G', { 7 }));
    EXPECT_EQ(view.calls, (Lines { "update meter 1" }));
}

TEST_F(DiscoveryTest, StoppingDetachesTypes1To3AndForgetsEveryUnit)
{
    discovery.startSearch();
    receive("127.0.4.10", arn1Announcement("t1"));
    receive("127.0.4.11", velkAnnouncement("t2"));
    receive("127.0.4.12", pxl2Announcement("t3"));
    receive("127.0.4.13", arn1ShortAnnouncement("t4"));
    receive("127.0.4.14", velkShortAnnouncement("t5"));
    receive(ProcessorOne, processorAnswer("rda"));
    store.speaker.rdaConnected = 1;
    link.clear();
    view.calls.clear();

    discovery.toggleSearch();

    EXPECT_FALSE(store.scanActive);
    EXPECT_EQ(link.log,
        (Lines { "25 46 00 23 -> 127.0.4.10:39030", "pause 10", "25 4B 00 23 -> 127.0.4.11:39030",
            "pause 10", "25 46 00 23 -> 127.0.4.12:39030", "pause 10" }))
        << "types 4 and 5 get no detach frame";
    EXPECT_EQ(view.calls,
        (Lines { "search pressed 0", "hide strip 0", "hide strip 1", "hide strip 2", "hide strip 3",
            "hide strip 4", "unit list", "processor list", "connection changed" }));
    for (int slot = 0; slot < 5; ++slot) {
        const DeviceRecord &unit = store.unitTable[slot];
        EXPECT_EQ(unit.inUse, 0);
        EXPECT_EQ(textOf(unit.name), "");
        EXPECT_EQ(textOf(unit.code), "");
        EXPECT_EQ(textOf(unit.ip), "");
    }
    EXPECT_EQ(store.unitTable[0].gain, 3) << "other fields keep their values";
    EXPECT_EQ(store.unitTable[1].mode, 3) << "other fields keep their values";
    EXPECT_EQ(store.unitTable[2].type, UnitTypePxl2) << "other fields keep their values";
    EXPECT_EQ(discovery.unitList().rowCount(), 0u);
    EXPECT_EQ(discovery.processorList().rowCount(), 0u);
    EXPECT_EQ(store.speaker.rdaConnected, 0);
}

TEST_F(DiscoveryTest, StoppingWithNoUnitOnlyClearsTheListsAndFlags)
{
    discovery.startSearch();
    link.clear();
    view.calls.clear();
    discovery.toggleSearch();
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(view.calls,
        (Lines { "search pressed 0", "unit list", "processor list", "connection changed" }));
}

TEST_F(DiscoveryTest, AConnectionNeverAnsweredAsksThreeTimesThenCannotConnect)
{
    discovery.startSearch();
    discovery.addProcessor(ProcessorOne);
    link.clear();
    view.calls.clear();

    discovery.connectRow(0);
    EXPECT_EQ(link.log, Lines { connectRequest(ProcessorOne) })
        << "no pause after a processor frame";
    EXPECT_EQ(store.rdaAddress, ProcessorOne);
    EXPECT_EQ(view.calls, (Lines { "connection started" }));

    view.calls.clear();
    EXPECT_EQ(runTimer(20000),
        (Lines {
            "5000: " + connectRequest(ProcessorOne), "10000: " + connectRequest(ProcessorOne) }));
    EXPECT_EQ(prompts.shown, Lines { "CANNOT CONNECT." });
    EXPECT_EQ(view.calls, (Lines { "search pressed 0", "connection changed" }));
    EXPECT_EQ(store.speaker.rdaConnecting, 0);
    EXPECT_EQ(store.speaker.rdaConnected, 0);
    EXPECT_TRUE(store.scanActive) << "the search itself goes on; the next press stops it";
}

TEST_F(DiscoveryTest, GivingUpHappensAt15SecondsAfterTheFirstRequest)
{
    discovery.addProcessor(ProcessorOne);
    discovery.connectRow(0);
    runTimer(14750);
    EXPECT_TRUE(prompts.shown.empty());
    runTimer(15000);
    EXPECT_EQ(prompts.shown, Lines { "CANNOT CONNECT." });
}

TEST_F(DiscoveryTest, AConnectionAnsweredAfterTheSecondRequestIsConnected)
{
    discovery.startSearch();
    receive(ProcessorOne, processorAnswer("rda"));
    discovery.connectRow(0);
    EXPECT_EQ(runTimer(6000), Lines { "5000: " + connectRequest(ProcessorOne) });

    view.calls.clear();
    receive(ProcessorOne, processorAnswer("rda"));
    EXPECT_EQ(store.speaker.rdaConnected, 1);
    EXPECT_EQ(store.speaker.rdaConnecting, 0);
    EXPECT_EQ(discovery.processorList().cell(0, ProcessorStatusColumn), ProcessorConnected);
    EXPECT_EQ(view.calls, (Lines { "processor list", "connection changed" }));

    EXPECT_EQ(runTimer(30000), Lines {}) << "nothing more is sent";
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(DiscoveryTest, DoubleClickingTheConnectedProcessorSendsNothing)
{
    receive(ProcessorOne, processorAnswer("rda"));
    discovery.connectRow(0);
    receive(ProcessorOne, processorAnswer("rda"));
    ASSERT_EQ(store.speaker.rdaConnected, 1);
    link.clear();
    view.calls.clear();

    discovery.connectRow(0);
    EXPECT_TRUE(link.log.empty());
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(store.speaker.rdaConnected, 1);
}

TEST_F(DiscoveryTest, ConnectingToAnotherProcessorMarksTheFirstDisconnected)
{
    receive(ProcessorOne, processorAnswer("one"));
    receive(ProcessorTwo, processorAnswer("two"));
    discovery.connectRow(0);
    receive(ProcessorOne, processorAnswer("one"));
    link.clear();

    discovery.connectRow(1);
    EXPECT_EQ(discovery.processorList().cell(0, ProcessorStatusColumn), ProcessorDisconnected);
    EXPECT_EQ(store.speaker.rdaConnected, 0);
    EXPECT_EQ(store.speaker.rdaConnecting, 1);
    EXPECT_EQ(store.rdaAddress, ProcessorTwo);
    EXPECT_EQ(link.log, Lines { connectRequest(ProcessorTwo) });
}

TEST_F(DiscoveryTest, ASecondAttemptAfterAFailedOneAsksThreeTimesAgain)
{
    discovery.addProcessor(ProcessorOne);
    discovery.connectRow(0);
    runTimer(15000);
    link.clear();

    discovery.connectRow(0);
    Lines sent = link.log;
    const Lines retries = runTimer(clock.monotonicMs() + 20000);
    sent.insert(sent.end(), retries.begin(), retries.end());
    EXPECT_EQ(sent,
        (Lines { connectRequest(ProcessorOne), "20000: " + connectRequest(ProcessorOne),
            "25000: " + connectRequest(ProcessorOne) }));
    EXPECT_EQ(prompts.shown, (Lines { "CANNOT CONNECT.", "CANNOT CONNECT." }));
}

TEST_F(DiscoveryTest, NoOwnAddressSendsNoRequestAndTellsTheOperatorOnce)
{
    ownAddress.reset();
    discovery.toggleSearch();
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(prompts.shown, Lines { NoOwnAddressMessage });
    EXPECT_TRUE(store.scanActive) << "the search still takes announcements";

    discovery.addProcessor(ProcessorOne);
    view.calls.clear();
    discovery.connectRow(0);
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(prompts.shown, (Lines { NoOwnAddressMessage, NoOwnAddressMessage }));
    EXPECT_EQ(store.speaker.rdaConnecting, 0) << "no attempt without a request";
    EXPECT_EQ(store.rdaAddress, DefaultProcessorAddress);
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(DiscoveryTest, TheRequestsCarryTheInterfaceAddressWhenOneIsGiven)
{
    Discovery withInterface { store, link, clock, prompts, view,
        [] { return findLocalAddress("127.0.4.1"); } };
    withInterface.startSearch();
    EXPECT_EQ(link.log.front(), searchRequest);
}

TEST_F(DiscoveryTest, AddingAProcessorTakesOnlyDottedIPv4Addresses)
{
    EXPECT_TRUE(discovery.addProcessor(" 127.0.4.202 "));
    EXPECT_EQ(discovery.processorList().rows(),
        (std::vector<ProcessorListModel::Row> {
            { "127.0.4.202", "", "39060", ProcessorNotConnected } }));
    EXPECT_FALSE(discovery.addProcessor("127.0.4.202")) << "listed once";

    for (const char *bad : { "", "127.0.4", "127.0.4.256", "rda.local", "1.2.3.4.5", "::1" }) {
        EXPECT_FALSE(discovery.addProcessor(bad)) << bad;
    }
    EXPECT_EQ(discovery.processorList().rowCount(), 1u);
    ASSERT_EQ(prompts.shown.size(), 6u) << "every refusal is told";
    EXPECT_EQ(prompts.shown[1],
        "\"127.0.4\" is not an IPv4 address. Enter the processor's address as four numbers "
        "from 0 to 255 separated by dots, such as 192.168.0.106.");
    EXPECT_TRUE(link.log.empty());
}

TEST_F(DiscoveryTest, AProcessorAddedByHandTakesItsNameWhenItAnswers)
{
    discovery.addProcessor(ProcessorOne);
    discovery.connectRow(0);
    receive(ProcessorOne, processorAnswer("hall"));
    EXPECT_EQ(discovery.processorList().rows(),
        (std::vector<ProcessorListModel::Row> {
            { ProcessorOne, "hall", "39060", ProcessorConnected } }));
}

TEST_F(DiscoveryTest, ANewProcessorNameShowsInTheRowOfTheSelectedProcessorOnly)
{
    receive(ProcessorOne, processorAnswer("one"));
    receive(ProcessorTwo, processorAnswer("two"));
    store.rdaAddress = ProcessorTwo;
    view.calls.clear();
    discovery.showProcessorName("stage");
    EXPECT_EQ(discovery.processorList().cell(0, ProcessorNameColumn), "one");
    EXPECT_EQ(discovery.processorList().cell(1, ProcessorNameColumn), "stage");
    EXPECT_EQ(view.calls, Lines { "processor list" });
}

TEST_F(DiscoveryTest, DoubleClickOnAUnitRowShowsItsStrip)
{
    discovery.startSearch();
    receive("127.0.4.10", arn1Announcement("a"));
    receive("127.0.4.11", arn1Announcement("b"));
    view.calls.clear();
    discovery.unitRowActivated(1);
    discovery.unitRowActivated(-1);
    discovery.unitRowActivated(2);
    EXPECT_EQ(view.calls, Lines { "show strip 1" });
    discovery.connectRow(-1);
    discovery.connectRow(0);
    EXPECT_EQ(view.calls, Lines { "show strip 1" }) << "no processor row: nothing happens";
}

} // namespace
} // namespace arx

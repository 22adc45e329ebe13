// The loudspeaker processor listed, connected and given up on: the application's discovery on
// 127.0.22.1 against an arx-sim processor at 127.0.22.200. Retries are driven by a manual
// clock; every request crosses the wire.
#include "LoopbackRoom.h"

#include <gtest/gtest.h>

namespace arx::e2e {
namespace {

using arxsim::Bytes;

constexpr const char *Subnet = "127.0.22";
// 07 with port 39060 and 127.0.22.1.
const Bytes ConnectRequest { 0xAA, 0x55, 0x07, 0x07, 0x98, 0x94, 127, 0, 22, 1, 0xA5 };

class ProcessorConnection : public ::testing::Test {
protected:
    // A search whose two answers from the processor have both been taken, so that none of
    // them can arrive later and pass for an acknowledgement.
    void searchUntilListed()
    {
        room.discovery.startSearch();
        ASSERT_TRUE(room.pumpUntil([&] { return room.deliveredFrom(processor()) == 2; }))
            << "the processor answered both search requests";
    }

    std::string processor() const { return room.processorAddress(); }
    std::size_t requestsReceived() { return room.control.processorFrames().size(); }

    // Moves the clock on and ticks the connection timer, as the window's timer would.
    void after(std::int64_t milliseconds)
    {
        room.clock.advance(milliseconds);
        if (room.view.connectionTimerRunning)
            room.discovery.tick();
    }

    LoopbackRoom room { Subnet, { "--units", "0" }, "e2e-processor.log" };
};

TEST_F(ProcessorConnection, SearchListsTheProcessorWhichConnectsAndAcknowledges)
{
    searchUntilListed();
    const ProcessorListModel &list = room.discovery.processorList();
    ASSERT_EQ(list.rowCount(), 1u) << "listed once, though it answered twice";
    EXPECT_EQ(list.rows()[0],
        (ProcessorListModel::Row { processor(), "RDA-SIM", "39060", ProcessorNotConnected }));

    room.discovery.connectRow(0);
    EXPECT_EQ(room.store.rdaAddress, processor());
    EXPECT_TRUE(room.view.speakerPageSelected);
    ASSERT_TRUE(room.pumpUntil([&] { return room.store.speaker.rdaConnected != 0; }))
        << "the processor's acknowledgement completed the connection";
    EXPECT_FALSE(room.store.speaker.rdaConnecting);
    EXPECT_FALSE(room.view.connectionTimerRunning) << "no retries once acknowledged";
    EXPECT_EQ(list.cell(0, ProcessorStatusColumn), ProcessorConnected);
    EXPECT_EQ(room.control.processorFrames(), std::vector<Bytes> { ConnectRequest })
        << "one request, byte for byte";
    const arxsim::ControlReply state = room.control.processor();
    EXPECT_EQ(state.number("connected"), 1);
    EXPECT_EQ(state.text("controller"), "127.0.22.1:39030") << "from the command socket";

    room.discovery.connectRow(0);
    EXPECT_EQ(requestsReceived(), 1u) << "connecting to the connected processor sends nothing";

    room.discovery.stopSearch();
    EXPECT_FALSE(room.store.speaker.rdaConnected) << "stopping the search ends the connection";
    EXPECT_EQ(list.rowCount(), 0u);
}

struct UnansweredRow {
    const char *name;
    const char *mode; // what the processor does: "ignore" requests, or stay "silent" throughout
};

void PrintTo(const UnansweredRow &row, std::ostream *out)
{
    *out << row.name;
}

class UnansweredProcessor : public ProcessorConnection,
                            public ::testing::WithParamInterface<UnansweredRow> { };

TEST_P(UnansweredProcessor, GetsThreeRequestsFiveSecondsApartThenCannotConnect)
{
    const std::string mode = GetParam().mode;
    if (mode == "ignore") {
        room.control.setProcessorIgnoring(true);
        searchUntilListed();
    } else {
        room.control.setProcessorSilent(true);
        ASSERT_TRUE(room.discovery.addProcessor(processor())) << "listed by hand";
    }
    ASSERT_EQ(room.discovery.processorList().rowCount(), 1u);

    room.discovery.connectRow(0);
    EXPECT_EQ(requestsReceived(), 1u) << "the first request at once";
    EXPECT_TRUE(room.view.connectionTimerRunning);
    after(4999);
    EXPECT_EQ(requestsReceived(), 1u) << "no repeat before 5 s";
    after(1);
    EXPECT_EQ(requestsReceived(), 2u) << "the second after 5 s";
    after(5000);
    EXPECT_EQ(requestsReceived(), 3u) << "the third after 10 s";
    EXPECT_TRUE(room.prompts.shown.empty()) << "nothing said while still trying";
    after(5000);
    EXPECT_EQ(room.control.processorFrames(), std::vector<Bytes>(3, ConnectRequest))
        << "three requests in all, byte for byte";
    EXPECT_EQ(room.prompts.shown, std::vector<std::string> { "CANNOT CONNECT." });
    EXPECT_FALSE(room.store.speaker.rdaConnecting);
    EXPECT_FALSE(room.store.speaker.rdaConnected);
    EXPECT_FALSE(room.view.connectionTimerRunning);
    EXPECT_FALSE(room.view.searchPressed) << "giving up releases the search button";
    after(5000);
    EXPECT_EQ(requestsReceived(), 3u) << "nothing more once given up";

    // Answering again, the processor is reached by a fresh attempt.
    room.control.setProcessorIgnoring(false);
    room.control.setProcessorSilent(false);
    room.discovery.connectRow(0);
    ASSERT_TRUE(room.pumpUntil([&] { return room.store.speaker.rdaConnected != 0; }))
        << "a later attempt connects";
    EXPECT_EQ(requestsReceived(), 4u);
    EXPECT_EQ(room.discovery.processorList().cell(0, ProcessorStatusColumn), ProcessorConnected);
}

INSTANTIATE_TEST_SUITE_P(Modes, UnansweredProcessor,
    ::testing::Values(
        UnansweredRow { "IgnoringRequests", "ignore" }, UnansweredRow { "Silent", "silent" }),
    [](const ::testing::TestParamInfo<UnansweredRow> &info) { return info.param.name; });

} // namespace
} // namespace arx::e2e

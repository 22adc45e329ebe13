// The simulated processor over loopback, and two rooms side by side. Rooms on 127.0.6.0/24
// and 127.0.7.0/24; the applications at .1 of each.
#include "LoopbackPeer.h"
#include "SimControl.h"
#include "SimProcess.h"
#include "Wire.h"

#include <gtest/gtest.h>

namespace arxsim {
namespace {

const Endpoint App { 0x7F000601, UnitPort };
const Endpoint Processor { 0x7F0006C8, ProcessorPort };
const Bytes ConnectRequest { 0xAA, 0x55, 0x07, 0x07, 0x98, 0x94, 127, 0, 6, 1, 0xA5 };
const Bytes Announcement { 0xAA, 0x55, 0x08, 0x07, 'R', 'D', 'A', '-', 'S', 'I', 'M', 0xA5 };

class SimProcessorLoopback : public ::testing::Test {
protected:
    SimProcess sim { { "--subnet", "127.0.6.0", "--units", "0" }, "sim-processor.log" };
    SimControl control { sim.control() };
    LoopbackPeer app { "127.0.6.1", UnitPort };
};

TEST_F(SimProcessorLoopback, IsFoundBySearchAndAcknowledgesAConnectionToItsSender)
{
    app.sendSearch(App);
    const auto found = app.receive();
    ASSERT_TRUE(found) << "the processor answers the search";
    EXPECT_EQ(found->from, Processor) << "from .200, port 39060";
    EXPECT_EQ(found->bytes, Announcement) << "AA 55 L 07, its name, A5";

    app.sendTo(Processor, ConnectRequest);
    const auto acknowledgement = app.receive();
    ASSERT_TRUE(acknowledgement) << "the connection request is acknowledged";
    EXPECT_EQ(acknowledgement->from, Processor);
    EXPECT_EQ(acknowledgement->bytes, Announcement);
    const ControlReply state = control.processor();
    EXPECT_EQ(state.number("connected"), 1);
    EXPECT_EQ(state.text("controller"), "127.0.6.1:39030");
}

TEST_F(SimProcessorLoopback, IgnoringRequestsItKeepsThemButAnswersNone)
{
    control.setProcessorIgnoring(true);
    for (int request = 0; request < 3; ++request)
        app.sendTo(Processor, ConnectRequest);
    EXPECT_EQ(control.processorFrames(), std::vector<Bytes>(3, ConnectRequest))
        << "all three requests arrived";
    EXPECT_EQ(control.processor().number("connected"), 0);
    EXPECT_TRUE(app.drain().empty()) << "and none was answered";
    app.sendSearch(App);
    EXPECT_TRUE(app.receive()) << "an ignoring processor is still found by the search";
}

TEST_F(SimProcessorLoopback, SilentProcessorIsNotFound)
{
    control.setProcessorSilent(true);
    app.sendSearch(App);
    app.sendTo(Processor, ConnectRequest);
    EXPECT_EQ(control.processor().number("frames"), 1) << "the request arrived";
    EXPECT_TRUE(app.drain().empty()) << "but a silent processor answers nothing";
}

TEST_F(SimProcessorLoopback, KeepsEveryFrameInOrderAndAppliesWhatItHolds)
{
    Bytes equaliser(33, 0);
    equaliser[0] = 0xAA;
    equaliser[1] = 0x55;
    equaliser[2] = 29;
    equaliser[3] = 0x01;
    equaliser.back() = 0xA5;
    const std::vector<Bytes> frames {
        { 0xAA, 0x55, 0x0B, 0x06, 'S', 't', 'a', 'g', 'e', 0, 0, 0, 0, 0, 0xA5 },
        { 0xAA, 0x55, 0x03, 0x04, 0x00, 0x10, 0xA5 },
        { 0xAA, 0x55, 0x03, 0x0A, 0x00, 0x01, 0xA5 },
        equaliser,
        { 0xAA, 0x55, 0x01, 0x08, 0xA5 },
        { 0xAA, 0x55, 0x03, 0x04, 0x02, 0x20, 0xA5 },
    };
    for (const Bytes &frame : frames)
        app.sendTo(Processor, frame);
    EXPECT_EQ(control.processorFrames(), frames);
    const ControlReply state = control.processor();
    EXPECT_EQ(state.text("name"), "Stage");
    EXPECT_EQ(state.number("mainLevel"), 0) << "the reset cleared the main level";
    EXPECT_EQ(state.number("resets"), 1);
    EXPECT_EQ(state.number("levelB"), 0x20) << "set after the reset";
    EXPECT_EQ(state.number("ignored"), 0);
    control.clear();
    EXPECT_TRUE(control.processorFrames().empty()) << "clear forgets them";
}

TEST(SimSideBySide, EachRoomAnswersOnlyTheSearchForItsOwnSubnet)
{
    SimProcess six({ "--subnet", "127.0.6.0", "--units", "1,2", "--quiet" });
    SimProcess seven({ "--subnet", "127.0.7.0", "--units", "3,", "--quiet" });
    SimControl controlSix(six.control());
    SimControl controlSeven(seven.control());
    LoopbackPeer appSix("127.0.6.1", UnitPort);
    LoopbackPeer appSeven("127.0.7.1", UnitPort);

    appSix.sendSearch(appSix.endpoint());
    EXPECT_EQ(controlSeven.list().text("search"), "none") << "room 7 saw a search for room 6";
    EXPECT_EQ(controlSix.list().text("search"), "127.0.6.1:39030");
    EXPECT_EQ(appSix.drain().size(), 3u) << "two units and the processor of room 6 answered";
    EXPECT_TRUE(appSeven.drain().empty());

    appSeven.sendSearch(appSeven.endpoint());
    EXPECT_EQ(controlSeven.list().text("search"), "127.0.7.1:39030");
    const std::vector<Datagram> answers = appSeven.drain();
    ASSERT_EQ(answers.size(), 2u) << "one unit and the processor of room 7 answered";
    EXPECT_EQ(answers[0].from, (Endpoint { 0x7F00070A, UnitPort }));
    EXPECT_EQ(answers[0].bytes[1], 'H') << "room 7's only unit is a PXL2";
    EXPECT_TRUE(appSix.drain().empty()) << "room 6 stayed quiet";
}

} // namespace
} // namespace arxsim

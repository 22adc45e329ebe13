#include "dsp/CoefficientSenders.h"

#include "RecordingLink.h"
#include "dsp/CoefficientFrames.h"

#include <gtest/gtest.h>

#include <memory>

namespace arx {
namespace {

using test::hex;
using test::RecordingLink;

constexpr const char *UnitAddress = "127.0.9.10";
constexpr const char *ProcessorAddress = "127.0.9.200";

class SendersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaults(*store);
        store->eulerConstant = computeEulerConstant();
        store->rdaAddress = ProcessorAddress;
    }

    std::unique_ptr<Store> store = std::make_unique<Store>();
    RecordingLink link;
};

TEST_F(SendersTest, MicBandGoesToTheUnitPortAndPausesTenMilliseconds)
{
    store->unitTable[5].eqBands[2].gain = 360;
    EXPECT_TRUE(sendMicEqBand(link, *store, UnitAddress, 5, 3));
    ASSERT_EQ(link.log.size(), 2u);
    EXPECT_EQ(link.log[0], hex(*buildMicEqFrame(store->unitTable[5], 3)) + " -> 127.0.9.10:39030");
    EXPECT_EQ(link.log[1], "pause 10");
}

TEST_F(SendersTest, FailedMicBandReportsFalseAndStillPauses)
{
    link.failSends = true;
    EXPECT_FALSE(sendMicEqBand(link, *store, UnitAddress, 0, 5));
    ASSERT_EQ(link.log.size(), 2u);
    EXPECT_EQ(link.log[1], "pause 10");
}

TEST_F(SendersTest, MicBandOutOfRangeSendsNothing)
{
    EXPECT_FALSE(sendMicEqBand(link, *store, UnitAddress, 0, 6));
    EXPECT_FALSE(sendMicEqBand(link, *store, UnitAddress, 64, 1));
    EXPECT_FALSE(sendMicEqBand(link, *store, UnitAddress, -1, 1));
    EXPECT_TRUE(link.log.empty()) << "no frame and no pause";
}

TEST_F(SendersTest, ProcessorFramesGoToTheProcessorWithoutPauses)
{
    link.failSends = true; // the result is not looked at
    EXPECT_TRUE(sendSpeakerEqBand(link, *store, 1, 7));
    EXPECT_TRUE(sendHighPass(link, *store, 0));
    EXPECT_TRUE(sendLowPass(link, *store, 1));
    EXPECT_TRUE(sendDynamics(link, *store, 0));

    const SpeakerStore &speaker = store->speaker;
    const std::string destination = " -> 127.0.9.200:39060";
    const std::vector<std::string> expected = {
        hex(*buildSpeakerEqFrame(speaker.channels[1], 1, 7)) + destination,
        hex(*buildHighPassFrame(speaker.channels[0], 0)) + destination,
        hex(*buildLowPassFrame(speaker.channels[1], 1)) + destination,
        hex(buildDynamicsFrame(speaker.channels[0], 0, store->eulerConstant)) + destination,
    };
    EXPECT_EQ(link.log, expected);
}

TEST_F(SendersTest, SendersReadTheStoreWhenTheySend)
{
    sendHighPass(link, *store, 1);
    store->speaker.channels[1].hpFrequency = 150;
    sendHighPass(link, *store, 1);
    ASSERT_EQ(link.frames.size(), 2u);
    EXPECT_EQ(hex(std::span(link.frames[0]).subspan(5, 2)), "00 14") << "20 Hz";
    EXPECT_EQ(hex(std::span(link.frames[1]).subspan(5, 2)), "00 96") << "150 Hz";
}

TEST_F(SendersTest, NothingToSendForAChannelBandOrTypeOutOfRange)
{
    store->speaker.channels[0].lpType = 7;
    EXPECT_FALSE(sendLowPass(link, *store, 0));
    EXPECT_FALSE(sendSpeakerEqBand(link, *store, 0, 8));
    EXPECT_FALSE(sendSpeakerEqBand(link, *store, 0, 0));
    EXPECT_FALSE(sendHighPass(link, *store, 2));
    EXPECT_FALSE(sendDynamics(link, *store, -1));
    EXPECT_TRUE(link.log.empty());
}

} // namespace
} // namespace arx

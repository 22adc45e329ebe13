#include "speaker/SpeakerSetting.h"

#include "RecordingLink.h"
#include "dsp/CoefficientDesigns.h"
#include "dsp/CoefficientFrames.h"
#include "protocol/Frames.h"

#include <gtest/gtest.h>

#include <memory>

namespace arx {
namespace {

using test::hex;
using test::RecordingLink;

constexpr const char *ProcessorAddress = "127.0.9.200";

class SpeakerSettingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaults(*store);
        store->eulerConstant = computeEulerConstant();
        store->rdaAddress = ProcessorAddress;
    }

    std::string toProcessor(std::span<const std::uint8_t> frame) const
    {
        return hex(frame) + " -> 127.0.9.200:39060";
    }

    std::unique_ptr<Store> store = std::make_unique<Store>();
    RecordingLink link;
};

TEST_F(SpeakerSettingTest, VariableCrossoverQOutsideItsRangeTakesTheNearestLimit)
{
    SpeakerChannel &channel = store->speaker.channels[1];
    channel.hpType = CrossoverVariable;
    channel.hpQ = 0;
    channel.lpType = CrossoverVariable;
    channel.lpQ = 30000;
    EXPECT_TRUE(limitVariableCrossoverQ(store->speaker));
    EXPECT_EQ(channel.hpQ, 1);
    EXPECT_EQ(channel.lpQ, 1000);
    EXPECT_FALSE(limitVariableCrossoverQ(store->speaker)) << "limited codes stay as they are";
}

TEST_F(SpeakerSettingTest, OtherCrossoverTypesKeepTheirQCode)
{
    SpeakerChannel &channel = store->speaker.channels[0];
    channel.hpType = CrossoverBessel2;
    channel.hpQ = 0;
    channel.lpType = CrossoverLinkwitz2;
    channel.lpQ = -5;
    EXPECT_FALSE(limitVariableCrossoverQ(channel));
    EXPECT_EQ(channel.hpQ, 0);
    EXPECT_EQ(channel.lpQ, -5);
}

TEST_F(SpeakerSettingTest, WholeSettingGoesOutInTheDocumentedOrderWithFiftyMsAfterEachFrame)
{
    setText(store->speaker.processorName, "RDA-1");
    store->speaker.mainLevel = 6;
    store->speaker.channels[0].level = 7;
    store->speaker.channels[1].level = 8;
    store->speaker.channels[0].lpType = CrossoverVariable; // Q code 0 from the start values

    sendSpeakerSetting(link, *store);

    std::vector<std::string> expected;
    const auto frame = [&](std::span<const std::uint8_t> bytes) {
        expected.push_back(toProcessor(bytes));
        expected.push_back("pause 50");
    };
    const SpeakerStore &speaker = store->speaker;
    for (int channel = 0; channel < 2; ++channel) {
        for (int band = 1; band <= 7; ++band)
            frame(*buildSpeakerEqFrame(speaker.channels[channel], channel, band));
        frame(*buildHighPassFrame(speaker.channels[channel], channel));
        frame(*buildLowPassFrame(speaker.channels[channel], channel));
    }
    for (int channel = 0; channel < 2; ++channel)
        frame(buildDynamicsFrame(speaker.channels[channel], channel, store->eulerConstant));
    frame(levelFrame(LevelTarget::Main, 6));
    frame(levelFrame(LevelTarget::ChannelA, 7));
    frame(levelFrame(LevelTarget::ChannelB, 8));
    frame(deviceNameFrame(speaker));

    EXPECT_EQ(link.log, expected);
    EXPECT_EQ(link.frames.size(), 24u);
    EXPECT_EQ(speaker.channels[0].lpQ, 1) << "the Variable low-pass is sent with Q code 1";
}

TEST_F(SpeakerSettingTest, AnEmptyNameIsSentByARecallAndSkippedWhenAsked)
{
    sendSpeakerSetting(link, *store, NameFrame::Always);
    EXPECT_EQ(link.frames.size(), 24u);
    link.clear();
    sendSpeakerSetting(link, *store, NameFrame::SkipWhenEmpty);
    EXPECT_EQ(link.frames.size(), 23u);
    EXPECT_EQ(link.log.back(), "pause 50");
}

} // namespace
} // namespace arx

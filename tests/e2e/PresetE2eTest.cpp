// Presets against an arx-sim processor: the application's objects on 127.0.80.1, the processor
// at 127.0.80.200, the preset files in a real temporary folder.
#include "LoopbackRoom.h"

#include "RecordingLink.h"
#include "dsp/CoefficientDesigns.h"
#include "speaker/PresetController.h"
#include "speaker/SpeakerSetting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace arx::e2e {
namespace {

namespace fs = std::filesystem;
using arxsim::Bytes;

constexpr const char *Subnet = "127.0.80";

class PresetE2e : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "arx-e2e-presets-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        room.store.eulerConstant = computeEulerConstant();

        room.discovery.startSearch();
        ASSERT_TRUE(room.pumpUntil([&] {
            return room.deliveredFrom(room.processorAddress()) == 2;
        })) << "the processor answered both search requests";
        room.discovery.connectRow(0);
        ASSERT_TRUE(room.pumpUntil([&] { return room.store.speaker.rdaConnected != 0; }));
        room.prompts.shown.clear();
    }
    void TearDown() override { fs::remove_all(folder); }

    // The frames the processor has received since the connection request.
    std::vector<Bytes> settingFrames()
    {
        std::vector<Bytes> frames = room.control.processorFrames();
        frames.erase(frames.begin());
        return frames;
    }

    fs::path folder;
    LoopbackRoom room { Subnet, { "--units", "0" }, "e2e-presets.log" };
    SystemFiles files;
    RoomObserver noPage;
    PresetController presets { room.store, room.transport, room.prompts, files, noPage,
        "/nonexistent" };
};

TEST_F(PresetE2e, ARecalledPresetReachesTheProcessorAsItWasSaved)
{
    SpeakerStore &speaker = room.store.speaker;
    for (int c = 0; c < 2; ++c) {
        SpeakerChannel &channel = speaker.channels[c];
        for (int b = 0; b < SpeakerBandCount; ++b) {
            channel.bands[b].frequency = 60 + 700 * b + c;
            channel.bands[b].gain = 150 + 10 * b;
            channel.bands[b].q = 5 + 30 * b;
        }
        channel.hpFrequency = 90 + c;
        channel.hpType = CrossoverVariable;
        channel.hpQ = 0; // goes out as 1
        channel.lpFrequency = 14000 - c;
        channel.lpType = CrossoverLinkwitz2;
        channel.level = 30 + c;
        channel.threshold = 12;
        channel.attack = 20;
        channel.release = 80;
        channel.ratio = 40;
    }
    speaker.mainLevel = 16;
    setText(speaker.processorName, "HALL-2");
    const std::string path = (folder / "hall").string();
    room.prompts.fileNames = { path };
    presets.save();
    ASSERT_TRUE(fs::exists(path + ".box")) << "saved with the suffix";
    auto saved = std::make_unique<Store>(room.store);

    for (SpeakerChannel &channel : speaker.channels) {
        for (SpeakerBand &band : channel.bands)
            band = {
                .frequency = 1000, .gain = 0, .q = 100, .spare1 = 0, .spare2 = 0, .bandFlag = 0
            };
        channel.hpType = channel.lpType = CrossoverButterworth1;
        channel.hpFrequency = channel.lpFrequency = 500;
        channel.level = channel.threshold = 0;
        channel.ratio = 2000;
    }
    speaker.mainLevel = 254;
    setText(speaker.processorName, "OTHER");
    EXPECT_EQ(room.control.processorFrames().size(), 1u) << "editing the store sent nothing";

    room.prompts.fileNames = { path + ".box" };
    presets.recall();
    EXPECT_EQ(room.prompts.shown, (std::vector<std::string> { RecallQuestion, RecallDone }));

    test::RecordingLink expected;
    sendSpeakerSetting(expected, *saved);
    EXPECT_EQ(settingFrames(), expected.frames) << "the 24 frames of the saved setting, in order";
    const arxsim::ControlReply state = room.control.processor();
    EXPECT_EQ(state.text("name"), "HALL-2");
    EXPECT_EQ(state.number("mainLevel"), 16);
    EXPECT_EQ(state.number("levelA"), 30);
    EXPECT_EQ(state.number("levelB"), 31);
}

TEST_F(PresetE2e, DeviceResetReachesTheProcessorOnlyWhenConfirmed)
{
    room.prompts.confirmAnswers = { false, true };
    presets.deviceReset();
    presets.deviceReset();
    EXPECT_EQ(room.control.processor().number("resets"), 1);
    EXPECT_EQ(settingFrames(), (std::vector<Bytes> { { 0xAA, 0x55, 0x01, 0x08, 0xA5 } }));
}

} // namespace
} // namespace arx::e2e

// The preset buttons of the SPEAKER page, clicked in the main window: a preset saved and
// recalled through the page brings back the setting, shows it and sends it.
#include "MainWindowFixture.h"

#include "controls/CSpinBtn.h"
#include "controls/PngButton.h"
#include "speaker/CSpeakerDlg.h"

#include <cstring>

namespace arx::test {
namespace {

constexpr int Band1FrequencyA = 1055;
constexpr int ResetButton = 1131;
constexpr int SaveButton = 1132;
constexpr int RecallButton = 1133;

struct SpeakerPresets : MainWindow {
    CSpeakerDlg *page = window.speakerPage();

    SpeakerPresets()
    {
        click(1002); // SPEAKER
        click(1006);
        receive(ProcessorAddress, processorAnswer("RDA-SIM"));
        window.discovery().connectRow(0);
        receive(ProcessorAddress, processorAnswer("RDA-SIM"));
        EXPECT_TRUE(store->speaker.rdaConnected);
        link.clear();
    }

    // The page's own controls: the strips of the MIC page carry some of the same ids.
    void press(int id)
    {
        auto *button = findControl<PngButton>(page, id);
        ASSERT_NE(button, nullptr) << "page button " << id;
        click(button, button->rect().center());
    }
    CSpinBtn *knob(int id) { return findControl<CSpinBtn>(page, id); }
    std::string path(const char *name) const { return std::string("/presets/") + name; }
};

TEST(SpeakerPresets, SaveThenRecallThroughThePageBringsBackShowsAndSendsTheSetting)
{
    SpeakerPresets p;
    p.prompts.fileNames.push_back(p.path("room")); // typed without the suffix
    p.press(SaveButton);
    EXPECT_EQ(p.files.files[p.path("room.box")].size(), 724u) << "the suffix is added";
    const SpeakerStore saved = p.store->speaker;

    QTest::keyClick(p.knob(Band1FrequencyA), Qt::Key_Up);
    ASSERT_EQ(p.store->speaker.channels[0].bands[0].frequency, 51);
    p.link.clear();

    p.prompts.fileNames.push_back(p.path("room.box"));
    p.press(RecallButton);
    EXPECT_EQ(p.store->speaker.channels[0].bands[0].frequency, 50);
    EXPECT_EQ(std::memcmp(&p.store->speaker, &saved, 724), 0) << "every preset byte restored";
    EXPECT_EQ(p.knob(Band1FrequencyA)->text(), QStringLiteral("50Hz")) << "the page follows";
    EXPECT_EQ(p.link.frames.size(), 24u) << "the whole setting goes to the processor";
    ASSERT_FALSE(p.prompts.shown.empty());
    EXPECT_EQ(p.prompts.shown.back(), "Recall sucessfully!");
}

TEST(SpeakerPresets, DeviceResetAsksAndSendsOnlyWhenConfirmed)
{
    SpeakerPresets p;
    p.prompts.confirmAnswers = { false, true };
    p.press(ResetButton);
    EXPECT_TRUE(p.link.frames.empty()) << "Cancel sends nothing";
    p.press(ResetButton);
    ASSERT_EQ(p.link.log.size(), 1u);
    EXPECT_EQ(p.link.log[0], "AA 55 01 08 A5 -> " + ProcessorAddress + ":39060");
    EXPECT_EQ(p.prompts.shown.back(), "If do you reset the device data? ");
}

} // namespace
} // namespace arx::test

// The SPEAKER page inside the main window, on the recording seams: the controls show the
// store, and the operator's clicks, keys and wheel reach the store and the wire.
#include "MainWindowFixture.h"

#include "controls/CBitmapSlider.h"
#include "controls/CComBoxBtn.h"
#include "controls/CDropList.h"
#include "controls/CListWnd.h"
#include "controls/CSpinBtn.h"
#include "controls/CStaticST.h"
#include "controls/GbkText.h"
#include "controls/PngButton.h"
#include "dsp/CoefficientDesigns.h"
#include "speaker/CSpeakerDlg.h"
#include "speaker/SpeakerResponseView.h"

#include <QLineEdit>
#include <QSignalSpy>

#include <algorithm>
#include <span>

namespace arx::test {
namespace {

const std::string ToProcessor = " -> " + ProcessorAddress + ":39060";

struct SpeakerPage : MainWindow {
    CSpeakerDlg *page = window.speakerPage();

    SpeakerPage()
    {
        click(1002); // SPEAKER
        link.clear();
    }

    // A processor listed and connected, the way the window gets there.
    void connect()
    {
        click(1006);
        receive(ProcessorAddress, processorAnswer("RDA-SIM"));
        window.discovery().connectRow(0);
        receive(ProcessorAddress, processorAnswer("RDA-SIM"));
        ASSERT_TRUE(store->speaker.rdaConnected);
        link.clear();
    }

    template <class Control> Control *on(int id)
    {
        auto *found = findControl<Control>(page, id);
        EXPECT_NE(found, nullptr) << "page control " << id;
        return found;
    }
    CSpinBtn *knob(int id) { return on<CSpinBtn>(id); }
    QString knobText(int id) { return knob(id)->text(); }
    QString labelText(int id) { return on<CStaticST>(id)->text(); }

    void step(int knobId, Qt::Key key = Qt::Key_Up) { QTest::keyClick(knob(knobId), key); }
    // The operator opens the selector and clicks an entry of its list.
    void choose(int selectorId, int index)
    {
        auto *selector = on<CComBoxBtn>(selectorId);
        click(selector, QPoint(10, 10));
        ASSERT_TRUE(selector->isListShown());
        CDropList *list = selector->dropList();
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
    }
    void press(int buttonId) { click(on<PngButton>(buttonId), QPoint(20, 10)); }
};

struct Place {
    int id;
    QRect geometry;
};

TEST(SpeakerPage, ControlsStandAtTheirDocumentedPlacesInTheirBitmapsSizes)
{
    SpeakerPage p;
    // clang-format off
    const Place places[] = {
        {1007, {10, 10, 150, 30}}, {1010, {750, 10, 150, 30}}, {1036, {680, 60, 100, 24}},
        {1013, {10, 100, 100, 20}}, {1031, {480, 300, 100, 20}},
        {1014, {120, 100, 91, 20}}, {1043, {120, 250, 91, 20}}, {1046, {580, 100, 91, 20}},
        {1055, {240, 100, 91, 20}}, {1063, {240, 300, 91, 20}}, {1071, {680, 275, 91, 20}},
        {1073, {360, 100, 91, 20}}, {1086, {790, 250, 91, 20}},
        {1044, {120, 275, 91, 20}}, {1054, {580, 300, 91, 20}},
        {1092, {90, 400, 91, 20}}, {1098, {270, 430, 91, 20}}, {1102, {740, 400, 91, 20}},
        {1091, {10, 400, 80, 24}}, {1105, {660, 430, 80, 24}},
        {1123, {240, 325, 80, 24}}, {1126, {790, 325, 80, 24}},
        {1107, {380, 430, 75, 24}}, {1108, {840, 430, 75, 24}},
        {1109, {120, 478, 247, 19}}, {1110, {400, 478, 247, 19}}, {1111, {670, 478, 247, 19}},
        {1114, {300, 460, 60, 16}}, {1118, {800, 460, 60, 16}},
        {1138, {90, 510, 120, 20}}, {1121, {250, 510, 60, 20}}, {1139, {580, 510, 120, 20}},
        {1131, {50, 550, 100, 24}}, {1133, {290, 550, 100, 24}},
    };
    // clang-format on
    for (const Place &place : places)
        EXPECT_EQ(p.on<QWidget>(place.id)->geometry(), place.geometry) << "control " << place.id;
    EXPECT_EQ(p.knob(1014)->valueKind(), ValueKind::SpeakerGain);
    EXPECT_EQ(p.knob(1094)->maximum(), 2000);
    EXPECT_EQ(p.on<CComBoxBtn>(1045)->dropList()->count(), 5);
    EXPECT_EQ(p.on<CBitmapSlider>(1110)->maximum(), 254);
}

TEST(SpeakerPage, RightAfterStartUpTheKnobsShowTheStoreAndChannelResetBringsItBack)
{
    SpeakerPage p;
    const char *const frequencies[]
        = { "50Hz", "200Hz", "800Hz", "1000Hz", "3000Hz", "8000Hz", "12000Hz" };
    for (int band = 0; band < 7; ++band) {
        EXPECT_EQ(p.knobText(1055 + band), QString::fromLatin1(frequencies[band]));
        EXPECT_EQ(p.knobText(1064 + band), QString::fromLatin1(frequencies[band]));
        EXPECT_EQ(p.knobText(1073 + band), QStringLiteral("Q:2.0"));
    }
    EXPECT_EQ(p.knobText(1014), QStringLiteral("G:0.0")) << "flat, not the knob's minimum";
    EXPECT_EQ(p.knobText(1062), QStringLiteral("20Hz"));
    EXPECT_EQ(p.knobText(1063), QStringLiteral("20000Hz"));
    EXPECT_EQ(p.knobText(1094), QStringLiteral("1:1.0"));
    EXPECT_EQ(p.labelText(1118), QStringLiteral("24.0 dB"));

    p.step(1014); // offline: the first click leaves the flat gain by one step
    EXPECT_EQ(p.store->speaker.channels[0].bands[0].gain, 181);
    for (int i = 0; i < 5; ++i)
        p.step(1057);
    p.step(1075, Qt::Key_Down);
    ASSERT_NE(p.knobText(1057), QStringLiteral("800Hz"));

    p.press(1124);
    EXPECT_EQ(p.prompts.shown.back(), "是否要复位设置");
    EXPECT_EQ(p.knobText(1014), QStringLiteral("G:0.0"));
    EXPECT_EQ(p.knobText(1057), QStringLiteral("800Hz"));
    EXPECT_EQ(p.knobText(1075), QStringLiteral("Q:2.0"));
    EXPECT_EQ(p.on<PngButton>(1123)->state(), 1) << "channel A's reset phase";
    EXPECT_TRUE(p.link.log.empty()) << "offline: nothing sent";
}

TEST(SpeakerPage, OfflineKnobsSelectorsSlidersAndPhasesChangeTheStoreOnly)
{
    SpeakerPage p;
    p.step(1100);
    p.choose(1053, 2);
    QTest::keyClick(p.on<CBitmapSlider>(1110), Qt::Key_Left);
    p.press(1125);
    EXPECT_EQ(p.store->speaker.channels[1].threshold, 1);
    EXPECT_EQ(p.store->speaker.channels[1].hpType, CrossoverBessel2);
    EXPECT_NE(p.store->speaker.channels[1].level, 0);
    EXPECT_EQ(p.store->speaker.channels[1].phase, 1);
    EXPECT_TRUE(p.link.log.empty());
}

TEST(SpeakerPage, BandGainKnobsReadAsTheProcessorApplies)
{
    SpeakerPage p;
    p.store->speaker.channels[1].bands[3].gain = 300;
    p.store->speaker.channels[1].bands[4].gain = 180;
    p.store->speaker.channels[1].bands[5].gain = 0;
    p.page->refreshPage();
    EXPECT_EQ(p.knobText(1049), QStringLiteral("G:12.0"));
    EXPECT_EQ(p.knobText(1050), QStringLiteral("G:0.0"));
    EXPECT_EQ(p.knobText(1051), QStringLiteral("G:-18.0"));
}

TEST(SpeakerPage, VariableShowsTheQKnobAndSendsBesselHidesItAndSendsAgain)
{
    SpeakerPage p;
    p.connect();
    EXPECT_FALSE(p.knob(1130)->isVisible());
    p.choose(1054, CrossoverVariable);
    EXPECT_TRUE(p.knob(1130)->isVisible());
    EXPECT_EQ(p.knobText(1130), QStringLiteral("Q:0.1")) << "the Q code 1 that was sent";
    ASSERT_EQ(p.link.frames.size(), 1u);
    EXPECT_EQ(p.link.frames[0][3], 0x03) << "sendLowPass";
    EXPECT_EQ(p.link.frames[0][4], 1) << "channel B";
    EXPECT_EQ(p.link.frames[0][28] << 8 | p.link.frames[0][29], 1);

    p.choose(1054, CrossoverBessel2);
    EXPECT_FALSE(p.knob(1130)->isVisible());
    ASSERT_EQ(p.link.frames.size(), 2u);
    EXPECT_EQ(p.link.frames[1][27], CrossoverBessel2);
}

TEST(SpeakerPage, StoredVariableTypeShowsItsQKnobAfterRefresh)
{
    SpeakerPage p;
    p.store->speaker.channels[0].hpType = CrossoverVariable;
    p.store->speaker.channels[0].hpQ = 55;
    p.store->speaker.channels[1].lpType = 3;
    p.page->refreshPage();
    EXPECT_TRUE(p.knob(1127)->isVisible());
    EXPECT_EQ(p.knobText(1127), QStringLiteral("Q:5.5"));
    EXPECT_EQ(p.on<CComBoxBtn>(1044)->text(), QStringLiteral("Variable"));
    for (int hidden : { 1128, 1129, 1130 })
        EXPECT_FALSE(p.knob(hidden)->isVisible()) << hidden;
    EXPECT_EQ(p.on<CComBoxBtn>(1054)->text(), QStringLiteral("Linkwitz 2"));
}

TEST(SpeakerPage, LevelSlidersShowAndSendTheirCodes)
{
    SpeakerPage p;
    p.connect();
    auto *main = p.on<CBitmapSlider>(1111);
    QTest::keyClick(main, Qt::Key_End);
    EXPECT_EQ(main->position(), 254) << "fully right";
    EXPECT_EQ(p.link.log.back(), "AA 55 03 04 00 00 A5" + ToProcessor);
    EXPECT_EQ(p.labelText(1118), QStringLiteral("24.0 dB"));

    QTest::keyClick(main, Qt::Key_Home);
    EXPECT_EQ(p.link.log.back(), "AA 55 03 04 00 FE A5" + ToProcessor);
    EXPECT_EQ(p.labelText(1118), QStringLiteral("-103.0 dB")) << "ASCII minus";
    EXPECT_EQ(p.store->speaker.mainLevel, 254);

    p.store->speaker.channels[0].level = 254;
    p.store->speaker.channels[1].level = 0;
    p.page->refreshPage();
    EXPECT_EQ(p.on<CBitmapSlider>(1109)->position(), 0) << "code 254 at the left end";
    EXPECT_EQ(p.labelText(1114), QStringLiteral("-103.0 dB"));
    EXPECT_EQ(p.on<CBitmapSlider>(1110)->position(), 254);
    EXPECT_EQ(p.labelText(1116), QStringLiteral("24.0 dB"));
}

TEST(SpeakerPage, PhaseButtonsFollowTheStoreAndSend)
{
    SpeakerPage p;
    p.connect();
    p.press(1125);
    EXPECT_EQ(p.on<PngButton>(1125)->state(), 1);
    p.press(1125);
    EXPECT_EQ(p.on<PngButton>(1125)->state(), 0);
    EXPECT_EQ(p.link.log,
        (std::vector<std::string> {
            "AA 55 03 0A 01 01 A5" + ToProcessor, "AA 55 03 0A 01 00 A5" + ToProcessor }));
}

TEST(SpeakerPage, NameIsSetUpToTenGbkBytesAndTheProcessorListFollows)
{
    SpeakerPage p;
    p.connect();
    auto *name = p.on<QLineEdit>(1138);
    name->setText(QStringLiteral("Hall-10chr"));
    p.press(1121);
    EXPECT_EQ(textOf(p.store->speaker.processorName), "Hall-10chr");
    EXPECT_EQ(p.link.frames.size(), 1u);
    EXPECT_EQ(p.link.frames[0][3], 0x06);
    EXPECT_EQ(p.rowTexts(1009, 0).at(1), QStringLiteral("Hall-10chr"));
    EXPECT_TRUE(p.labelText(ConnectionLineId).contains(QStringLiteral("Hall-10chr")));

    name->setText(QStringLiteral("Hall-11char"));
    p.press(1121);
    EXPECT_EQ(p.prompts.shown.back(), "Name is too long.");
    EXPECT_EQ(textOf(p.store->speaker.processorName), "Hall-10chr");

    name->setText(QStringLiteral("会议室音箱六"));
    p.press(1121);
    EXPECT_EQ(p.prompts.shown.back(), "Name is too long.") << "six characters, twelve GBK bytes";
    name->setText(QStringLiteral("会议室音箱"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(textOf(p.store->speaker.processorName), toGbk(QStringLiteral("会议室音箱")));
    EXPECT_EQ(p.rowTexts(1009, 0).at(1), QStringLiteral("会议室音箱"));
}

TEST(SpeakerPage, ConnectionLineSaysWhetherChangesReachAProcessor)
{
    SpeakerPage p;
    EXPECT_TRUE(p.labelText(ConnectionLineId).contains(QStringLiteral("not sent")));
    p.connect();
    EXPECT_TRUE(p.labelText(ConnectionLineId)
                    .startsWith(QStringLiteral("Connected to RDA-SIM (127.0.10.200)")));
    EXPECT_EQ(p.on<QLineEdit>(1139)->text(), QStringLiteral("127.0.10.200"));
    p.click(1006); // the search off ends the connection
    EXPECT_TRUE(p.labelText(ConnectionLineId).contains(QStringLiteral("not sent")));
}

TEST(SpeakerPage, ResetsAskAndCancelLeavesPageStoreAndWireAlone)
{
    SpeakerPage p;
    p.connect();
    p.step(1046);
    p.step(1102);
    p.link.clear();
    p.prompts.confirmAnswers = { false, false };
    p.press(1126);
    p.press(1108);
    EXPECT_EQ(p.knobText(1046), QStringLiteral("G:0.1"));
    EXPECT_EQ(p.store->speaker.channels[1].ratio, 11);
    EXPECT_TRUE(p.link.log.empty());

    p.press(1108);
    EXPECT_EQ(p.knobText(1102), QStringLiteral("1:1.0"));
    ASSERT_EQ(p.link.frames.size(), 1u) << "one dynamics frame";
    EXPECT_EQ(p.link.frames[0][3], 0x05);
}

TEST(SpeakerPage, PresetButtonsRunTheRoomsPresetsAndTheInertOkStaysHidden)
{
    SpeakerPage p;
    p.press(1131);
    p.press(1132); // its dialog is cancelled
    p.press(1133);
    EXPECT_EQ(p.prompts.shown, (std::vector<std::string> { DeviceResetQuestion, RecallQuestion }))
        << "SAVE asks nothing before its dialog";
    EXPECT_EQ(p.prompts.dialogFolders, (std::vector<std::string> { "/presets", "/presets" }))
        << "the dialogs start in the room's preset folder";
    EXPECT_FALSE(p.on<PngButton>(1122)->isVisible());
    EXPECT_TRUE(p.link.log.empty()) << "not connected: no reset frame";
}

TEST(SpeakerPage, SendAllPushesTheOfflineSettingAfterConnecting)
{
    SpeakerPage p;
    p.step(1014);
    p.press(1123);
    p.connect();
    p.press(SendAllButtonId);
    EXPECT_EQ(p.prompts.shown.back(), SendAllQuestion);
    ASSERT_EQ(p.link.frames.size(), 25u) << "no name frame for the empty name";
    EXPECT_EQ(p.link.frames[0][10] << 8 | p.link.frames[0][11], 181) << "the offline gain";
    EXPECT_EQ(p.link.log.end()[-4], "AA 55 03 0A 00 01 A5" + ToProcessor);
}

TEST(SpeakerPage, ResponseViewFollowsEveryEdit)
{
    SpeakerPage p;
    p.press(ResponseButtonId);
    ASSERT_TRUE(p.page->responseWindow()->isVisible());
    EXPECT_EQ(p.on<PngButton>(ResponseButtonId)->state(), 1);
    // Band 3's centre, which is one of the drawn points.
    const auto at800 = [&](int channel) {
        const SpeakerResponsePoints &points = p.page->responseView()->response();
        const std::span<const double> frequencies = points.frequencies();
        const auto found = std::lower_bound(frequencies.begin(), frequencies.end(), 800.0);
        return points.decibels(channel)[std::size_t(found - frequencies.begin())];
    };
    EXPECT_NEAR(at800(0), 0.0, 0.05);
    for (int i = 0; i < 60; ++i)
        p.step(1039, Qt::Key_Down); // band 3 of A down 6 dB
    EXPECT_NEAR(at800(0), -6.0, 0.3);
    EXPECT_NEAR(at800(1), 0.0, 0.05) << "channel B flat";

    p.press(1124);
    EXPECT_NEAR(at800(0), 0.0, 0.05) << "after the reset";
    p.press(ResponseButtonId);
    EXPECT_FALSE(p.page->responseWindow()->isVisible());
}

} // namespace
} // namespace arx::test

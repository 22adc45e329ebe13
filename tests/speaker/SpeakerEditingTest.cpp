#include "speaker/SpeakerEditing.h"

#include "RecordingLink.h"
#include "ScriptedPrompts.h"
#include "dsp/CoefficientDesigns.h"
#include "dsp/CoefficientFrames.h"
#include "speaker/SpeakerSetting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

namespace arx {
namespace {

using test::hex;
using test::RecordingLink;
using test::ScriptedPrompts;

constexpr const char *ProcessorAddress = "127.0.70.200";

std::string toProcessor(std::span<const std::uint8_t> frame)
{
    return hex(frame) + " -> 127.0.70.200:39060";
}

// Keeps what the editor announced, in order, in the page's words.
struct RecordingView final : RoomObserver {
    void speakerChanged(const SpeakerChange &change) override
    {
        using Kind = SpeakerChange::Kind;
        switch (change.kind) {
        case Kind::Knob:
            calls.push_back("knob " + std::to_string(change.id));
            break;
        case Kind::Crossover:
            for (const CrossoverSelector &selector : CrossoverSelectors) {
                if (selector.selectorId == change.id)
                    calls.push_back(std::string("crossover ")
                        + (selector.channel == 0 ? "A " : "B ")
                        + (selector.pass == CrossoverPass::HighPass ? "HP" : "LP"));
            }
            break;
        case Kind::Level:
            for (const LevelSlider &slider : LevelSliders) {
                if (slider.sliderId == change.id)
                    calls.push_back("level " + std::to_string(static_cast<int>(slider.target)));
            }
            break;
        case Kind::Phase:
            calls.push_back("phase " + std::to_string(change.channel));
            break;
        case Kind::Name:
            calls.push_back("name");
            break;
        case Kind::Channel:
        case Kind::Everything:
            calls.push_back("refresh");
            break;
        }
    }

    std::vector<std::string> calls;
};

class SpeakerEditorTest : public ::testing::Test {
protected:
    SpeakerEditorTest()
    {
        SetDefaults(*store);
        store->eulerConstant = computeEulerConstant();
        store->rdaAddress = ProcessorAddress;
        store->speaker.rdaConnected = 1;
    }

    SpeakerChannel &channel(int c) { return store->speaker.channels[c]; }

    std::unique_ptr<Store> store = std::make_unique<Store>();
    RecordingLink link;
    ScriptedPrompts prompts;
    RecordingView view;
    SpeakerEditor editor { *store, link, prompts, view,
        [this](const std::string &name) { view.calls.push_back("list " + name); } };
};

// The documented knob table, written out here on its own: ids band by band, the field, the
// command of the frame that follows.
struct KnobGroup {
    const char *name;
    int channel;
    std::vector<int> ids; // band 1..7, or a single knob
    std::function<std::int32_t &(SpeakerChannel &, int band)> field;
    std::uint8_t command;
};

const std::vector<KnobGroup> &knobGroups()
{
    using C = SpeakerChannel;
    static const std::vector<KnobGroup> groups = {
        { "AGain", 0, { 1014, 1038, 1039, 1040, 1041, 1042, 1043 },
            [](C &c, int b) -> std::int32_t & { return c.bands[b - 1].gain; }, 1 },
        { "BGain", 1, { 1046, 1047, 1048, 1049, 1050, 1051, 1052 },
            [](C &c, int b) -> std::int32_t & { return c.bands[b - 1].gain; }, 1 },
        { "AFrequency", 0, { 1055, 1056, 1057, 1058, 1059, 1060, 1061 },
            [](C &c, int b) -> std::int32_t & { return c.bands[b - 1].frequency; }, 1 },
        { "BFrequency", 1, { 1064, 1065, 1066, 1067, 1068, 1069, 1070 },
            [](C &c, int b) -> std::int32_t & { return c.bands[b - 1].frequency; }, 1 },
        { "AQ", 0, { 1073, 1074, 1075, 1076, 1077, 1078, 1079 },
            [](C &c, int b) -> std::int32_t & { return c.bands[b - 1].q; }, 1 },
        { "BQ", 1, { 1080, 1081, 1082, 1083, 1084, 1085, 1086 },
            [](C &c, int b) -> std::int32_t & { return c.bands[b - 1].q; }, 1 },
        { "AHighPassFrequency", 0, { 1062 },
            [](C &c, int) -> std::int32_t & { return c.hpFrequency; }, 2 },
        { "BHighPassFrequency", 1, { 1071 },
            [](C &c, int) -> std::int32_t & { return c.hpFrequency; }, 2 },
        { "AHighPassQ", 0, { 1127 }, [](C &c, int) -> std::int32_t & { return c.hpQ; }, 2 },
        { "BHighPassQ", 1, { 1129 }, [](C &c, int) -> std::int32_t & { return c.hpQ; }, 2 },
        { "ALowPassFrequency", 0, { 1063 },
            [](C &c, int) -> std::int32_t & { return c.lpFrequency; }, 3 },
        { "BLowPassFrequency", 1, { 1072 },
            [](C &c, int) -> std::int32_t & { return c.lpFrequency; }, 3 },
        { "ALowPassQ", 0, { 1128 }, [](C &c, int) -> std::int32_t & { return c.lpQ; }, 3 },
        { "BLowPassQ", 1, { 1130 }, [](C &c, int) -> std::int32_t & { return c.lpQ; }, 3 },
        { "AThreshold", 0, { 1092 }, [](C &c, int) -> std::int32_t & { return c.threshold; }, 5 },
        { "BThreshold", 1, { 1100 }, [](C &c, int) -> std::int32_t & { return c.threshold; }, 5 },
        { "ARatio", 0, { 1094 }, [](C &c, int) -> std::int32_t & { return c.ratio; }, 5 },
        { "BRatio", 1, { 1102 }, [](C &c, int) -> std::int32_t & { return c.ratio; }, 5 },
        { "AAttack", 0, { 1096 }, [](C &c, int) -> std::int32_t & { return c.attack; }, 5 },
        { "BAttack", 1, { 1104 }, [](C &c, int) -> std::int32_t & { return c.attack; }, 5 },
        { "ARelease", 0, { 1098 }, [](C &c, int) -> std::int32_t & { return c.release; }, 5 },
        { "BRelease", 1, { 1106 }, [](C &c, int) -> std::int32_t & { return c.release; }, 5 },
    };
    return groups;
}

struct KnobCase {
    std::string name;
    const KnobGroup *group;
    int id;
    int band; // 1..7 for band knobs, 0 otherwise
};

void PrintTo(const KnobCase &c, std::ostream *out)
{
    *out << c.name;
}

std::vector<KnobCase> knobCases()
{
    std::vector<KnobCase> cases;
    for (const KnobGroup &group : knobGroups()) {
        for (std::size_t i = 0; i < group.ids.size(); ++i) {
            const int band = group.ids.size() > 1 ? static_cast<int>(i) + 1 : 0;
            cases.push_back({ std::string(group.name) + (band ? std::to_string(band) : ""), &group,
                group.ids[i], band });
        }
    }
    return cases;
}

class EveryKnob : public SpeakerEditorTest, public ::testing::WithParamInterface<KnobCase> { };

TEST(SpeakerKnobTable, HoldsEveryDocumentedKnobOnceAndNothingElse)
{
    EXPECT_EQ(speakerKnobs().size(), knobCases().size());
    for (const KnobCase &c : knobCases())
        EXPECT_TRUE(findSpeakerKnob(c.id).has_value()) << c.name;
    EXPECT_FALSE(findSpeakerKnob(1044)) << "a selector is no knob";
}

TEST_P(EveryKnob, WritesItsFieldAndSendsItsFrameOnlyWhileConnected)
{
    const KnobCase &c = GetParam();
    const std::optional<SpeakerKnob> knob = findSpeakerKnob(c.id);
    ASSERT_TRUE(knob);
    const int value = knob->row->minimum + 7;
    std::int32_t &field = c.group->field(channel(c.group->channel), c.band ? c.band : 1);

    store->speaker.rdaConnected = 0;
    EXPECT_TRUE(editor.knobChanged(c.id, value));
    EXPECT_EQ(field, value) << "stored while offline";
    EXPECT_TRUE(link.log.empty()) << "nothing sent while offline";

    store->speaker.rdaConnected = 1;
    EXPECT_TRUE(editor.knobChanged(c.id, value + 1));
    EXPECT_EQ(field, value + 1);
    ASSERT_EQ(link.frames.size(), 1u) << "one frame per step";
    const std::vector<std::uint8_t> &frame = link.frames[0];
    EXPECT_EQ(frame[3], c.group->command);
    EXPECT_EQ(frame[4], c.group->channel);
    const SpeakerChannel &stored = channel(c.group->channel);
    std::vector<std::uint8_t> expected;
    switch (c.group->command) {
    case 1: {
        EXPECT_EQ(frame[5], c.band);
        const auto built = buildSpeakerEqFrame(stored, c.group->channel, c.band);
        expected.assign(built->begin(), built->end());
        break;
    }
    case 2: {
        const auto built = buildHighPassFrame(stored, c.group->channel);
        expected.assign(built->begin(), built->end());
        break;
    }
    case 3: {
        const auto built = buildLowPassFrame(stored, c.group->channel);
        expected.assign(built->begin(), built->end());
        break;
    }
    default: {
        const auto built = buildDynamicsFrame(stored, c.group->channel, store->eulerConstant);
        expected.assign(built.begin(), built.end());
        break;
    }
    }
    EXPECT_EQ(link.log[0], toProcessor(expected)) << "the frame of the stored setting";
}

INSTANTIATE_TEST_SUITE_P(SpeakerKnobTable, EveryKnob, ::testing::ValuesIn(knobCases()),
    [](const auto &info) { return info.param.name; });

TEST_F(SpeakerEditorTest, KnobValuesOutsideTheirRangeAreStoredAtTheLimitAndOtherIdsIgnored)
{
    editor.knobChanged(1014, 400);
    EXPECT_EQ(channel(0).bands[0].gain, 300);
    editor.knobChanged(1100, -3);
    EXPECT_EQ(channel(1).threshold, 0);
    link.clear();
    EXPECT_FALSE(editor.knobChanged(1044, 3));
    EXPECT_FALSE(editor.knobChanged(0, 3));
    EXPECT_TRUE(link.log.empty());
}

TEST_F(SpeakerEditorTest, VariableLowPassOfChannelBShowsItsQKnobAndSendsAndBesselSendsAgain)
{
    editor.crossoverTypeSelected(1090, CrossoverVariable);
    EXPECT_EQ(channel(1).lpType, CrossoverVariable);
    EXPECT_TRUE(crossoverQShown(channel(1), CrossoverPass::LowPass));
    EXPECT_EQ(view.calls, std::vector<std::string> { "crossover B LP" });
    ASSERT_EQ(link.frames.size(), 1u);
    EXPECT_EQ(link.log[0], toProcessor(*buildLowPassFrame(channel(1), 1)));
    EXPECT_EQ(link.frames[0][3], 0x03);
    EXPECT_EQ(link.frames[0][4], 1) << "channel B";

    editor.crossoverTypeSelected(1090, CrossoverBessel2);
    EXPECT_FALSE(crossoverQShown(channel(1), CrossoverPass::LowPass));
    ASSERT_EQ(link.frames.size(), 2u);
    EXPECT_EQ(link.frames[1][27], CrossoverBessel2);
    EXPECT_EQ(channel(0).lpType, CrossoverButterworth1) << "channel A untouched";
}

TEST_F(SpeakerEditorTest, VariableRightAfterStartUpSendsAFiniteDesignWithQCodeOne)
{
    ASSERT_EQ(channel(0).lpQ, 0) << "the start value";
    editor.crossoverTypeSelected(1088, CrossoverVariable);
    EXPECT_EQ(channel(0).lpQ, 1) << "stored at the nearest limit before sending";
    ASSERT_EQ(link.frames.size(), 1u);
    const std::vector<std::uint8_t> &frame = link.frames[0];
    EXPECT_EQ(frame[28] << 8 | frame[29], 1) << "the Q code the knob shows";
    bool nonZero = false;
    for (std::size_t i = 7; i < 27; ++i)
        nonZero = nonZero || frame[i] != 0;
    EXPECT_TRUE(nonZero) << "a designed filter, not the all-zero one of Q 0";
    const std::optional<Biquad> design = crossoverLowPassCoefficients(CrossoverVariable, 20000, 1);
    ASSERT_TRUE(design);
    EXPECT_TRUE(std::isfinite(design->b0) && std::isfinite(design->a1));
}

TEST_F(SpeakerEditorTest, EveryCrossoverPathLimitsAForeignVariableQ)
{
    channel(1).hpType = CrossoverVariable;
    channel(1).hpQ = 30000; // as a foreign preset could leave it
    editor.knobChanged(1071, 500); // the high-pass frequency
    EXPECT_EQ(channel(1).hpQ, 1000);
    EXPECT_EQ(link.frames.back()[28] << 8 | link.frames.back()[29], 1000);
    EXPECT_EQ(view.calls.back(), "crossover B HP") << "the limited Q is shown";

    channel(0).hpType = CrossoverLinkwitz2;
    channel(0).hpQ = 0;
    editor.knobChanged(1062, 300);
    EXPECT_EQ(channel(0).hpQ, 0) << "other types keep their Q code";
}

TEST_F(SpeakerEditorTest, MainLevelFullyRightSendsCodeZeroAndLevelsUseTheirTargets)
{
    editor.levelMoved(1111, 254);
    EXPECT_EQ(store->speaker.mainLevel, 0);
    EXPECT_EQ(link.log.back(), "AA 55 03 04 00 00 A5 -> 127.0.70.200:39060");
    editor.levelMoved(1109, 0);
    EXPECT_EQ(channel(0).level, 254);
    EXPECT_EQ(link.log.back(), "AA 55 03 04 01 FE A5 -> 127.0.70.200:39060");
    editor.levelMoved(1110, 200);
    EXPECT_EQ(channel(1).level, 54);
    EXPECT_EQ(link.log.back(), "AA 55 03 04 02 36 A5 -> 127.0.70.200:39060");
    EXPECT_EQ(view.calls, (std::vector<std::string> { "level 0", "level 1", "level 2" }));
}

TEST(SpeakerLevelText, ReadsTwentyFourDownToMinusOneHundredAndThree)
{
    EXPECT_EQ(levelText(0), "24.0 dB");
    EXPECT_EQ(levelText(49), "-0.5 dB");
    EXPECT_EQ(levelText(254), "-103.0 dB") << "the ASCII minus of %0.1f";
    EXPECT_EQ(levelSliderPosition(0), 254);
    EXPECT_EQ(levelSliderPosition(254), 0);
    EXPECT_EQ(levelSliderPosition(300), 0) << "a foreign code stands at the end";
}

TEST_F(SpeakerEditorTest, PhaseOfChannelBTwiceSendsOneThenZeroWithTargetOne)
{
    editor.togglePhase(1125);
    editor.togglePhase(1125);
    EXPECT_EQ(link.log,
        (std::vector<std::string> { "AA 55 03 0A 01 01 A5 -> 127.0.70.200:39060",
            "AA 55 03 0A 01 00 A5 -> 127.0.70.200:39060" }));
    EXPECT_EQ(channel(1).phase, 0);
    editor.togglePhase(1123);
    EXPECT_EQ(link.log.back(), "AA 55 03 0A 00 01 A5 -> 127.0.70.200:39060");
    EXPECT_EQ(view.calls, (std::vector<std::string> { "phase 1", "phase 1", "phase 0" }));
}

TEST_F(SpeakerEditorTest, ChannelResetsRestoreTheirValuesAndSendNineFramesWithPauses)
{
    channel(0).bands[2].gain = 20;
    channel(0).bands[6].frequency = 40;
    channel(0).hpType = CrossoverVariable;
    channel(0).lpQ = 77;
    channel(0).threshold = 12;
    channel(0).level = 9;
    channel(1).phase = 1;

    editor.resetChannel(1124);
    std::vector<std::string> expected;
    for (int band = 1; band <= 7; ++band) {
        expected.push_back(toProcessor(*buildSpeakerEqFrame(channel(0), 0, band)));
        expected.push_back("pause 50");
    }
    expected.push_back(toProcessor(*buildHighPassFrame(channel(0), 0)));
    expected.push_back("pause 50");
    expected.push_back(toProcessor(*buildLowPassFrame(channel(0), 0)));
    expected.push_back("pause 50");
    EXPECT_EQ(link.log, expected);
    EXPECT_EQ(prompts.shown, std::vector<std::string> { "是否要复位设置" });

    const SpeakerChannel &a = channel(0);
    for (int band = 0; band < 7; ++band) {
        EXPECT_EQ(a.bands[band].frequency, ResetBandFrequencies[band]);
        EXPECT_EQ(a.bands[band].gain, 180);
        EXPECT_EQ(a.bands[band].q, 20);
        EXPECT_EQ(a.bands[band].bandFlag, 1);
    }
    EXPECT_EQ(a.hpType, 0);
    EXPECT_EQ(a.lpQ, 10);
    EXPECT_EQ(a.hpFrequency, 20);
    EXPECT_EQ(a.lpFrequency, 20000);
    EXPECT_EQ(a.threshold, 12) << "dynamics untouched";
    EXPECT_EQ(a.level, 9) << "level untouched";

    link.clear();
    editor.resetChannel(1126);
    EXPECT_EQ(link.frames.size(), 9u);
    EXPECT_EQ(link.frames[0][4], 1) << "channel B's frames";
    EXPECT_EQ(channel(0).phase, 1);
    EXPECT_EQ(channel(1).phase, 0);
    EXPECT_EQ(view.calls, (std::vector<std::string> { "refresh", "refresh" }));
}

TEST_F(SpeakerEditorTest, LimiterResetSendsItsOneDynamicsFrameWithoutAPause)
{
    channel(1).threshold = 30;
    channel(1).ratio = 40;
    channel(1).attack = 50;
    channel(1).release = 60;
    editor.resetLimiter(1108);
    EXPECT_EQ(channel(1).threshold, 0);
    EXPECT_EQ(channel(1).ratio, 10);
    EXPECT_EQ(channel(1).attack, 1);
    EXPECT_EQ(channel(1).release, 1);
    EXPECT_EQ(link.log,
        std::vector<std::string> {
            toProcessor(buildDynamicsFrame(channel(1), 1, store->eulerConstant)) });
}

TEST_F(SpeakerEditorTest, CancelInEitherResetChangesAndSendsNothing)
{
    channel(0).bands[0].gain = 5;
    channel(1).ratio = 500;
    const SpeakerStore before = store->speaker;
    prompts.confirmAnswers = { false, false };
    editor.resetChannel(1124);
    editor.resetLimiter(1108);
    EXPECT_EQ(std::memcmp(&before, &store->speaker, sizeof before), 0);
    EXPECT_TRUE(link.log.empty());
    EXPECT_TRUE(view.calls.empty()) << "the page is not refreshed";
    EXPECT_EQ(prompts.shown.size(), 2u);
}

TEST_F(SpeakerEditorTest, OfflineResetsChangeTheStoreAndRefreshButSendNothing)
{
    store->speaker.rdaConnected = 0;
    channel(0).bands[0].gain = 5;
    channel(0).ratio = 500;
    editor.resetChannel(1124);
    editor.resetLimiter(1107);
    EXPECT_EQ(channel(0).bands[0].gain, 180);
    EXPECT_EQ(channel(0).ratio, 10);
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(view.calls.size(), 2u);
}

TEST_F(SpeakerEditorTest, NamesUpToTenBytesAreTakenSentAndShownInTheList)
{
    EXPECT_TRUE(editor.setProcessorName("Hall-10chr"));
    EXPECT_EQ(textOf(store->speaker.processorName), "Hall-10chr");
    EXPECT_EQ(link.log, std::vector<std::string> { toProcessor(deviceNameFrame(store->speaker)) });
    EXPECT_EQ(view.calls, (std::vector<std::string> { "list Hall-10chr", "name" }));

    link.clear();
    EXPECT_FALSE(editor.setProcessorName("Hall-11char"));
    EXPECT_EQ(prompts.shown, std::vector<std::string> { "Name is too long." });
    EXPECT_EQ(textOf(store->speaker.processorName), "Hall-10chr") << "unchanged";
    EXPECT_TRUE(link.log.empty());

    // Five Chinese characters are ten GBK bytes, six are twelve.
    EXPECT_TRUE(editor.setProcessorName(std::string(10, '\xC8')));
    EXPECT_FALSE(editor.setProcessorName(std::string(12, '\xC8')));
}

TEST_F(SpeakerEditorTest, OfflineNameIsStoredButNeitherSentNorShownInTheList)
{
    store->speaker.rdaConnected = 0;
    EXPECT_TRUE(editor.setProcessorName("Stage"));
    EXPECT_EQ(textOf(store->speaker.processorName), "Stage");
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(view.calls, std::vector<std::string> { "name" }) << "the page shows it, the list not";
}

TEST_F(SpeakerEditorTest, SendAllSendsTheRecallOrderThenBothPhasesAndSkipsAnEmptyName)
{
    channel(0).phase = 1;
    channel(1).lpType = CrossoverVariable; // Q code 0 from the start values
    editor.sendAll();
    EXPECT_EQ(prompts.shown, std::vector<std::string> { SendAllQuestion });
    EXPECT_EQ(channel(1).lpQ, 1);
    EXPECT_EQ(view.calls, std::vector<std::string> { "refresh" }) << "the limited Q is shown";

    RecordingLink expected;
    sendSpeakerSetting(expected, *store, NameFrame::SkipWhenEmpty);
    expected.send(ProcessorAddress, 39060, phaseFrame(PhaseTarget::ChannelA, 1));
    expected.pause(50);
    expected.send(ProcessorAddress, 39060, phaseFrame(PhaseTarget::ChannelB, 0));
    expected.pause(50);
    EXPECT_EQ(link.log, expected.log);
    EXPECT_EQ(link.frames.size(), 25u) << "23 setting frames without the name, two phases";
}

TEST_F(SpeakerEditorTest, SendAllAsksFirstAndNeedsAConnection)
{
    prompts.confirmAnswers = { false };
    editor.sendAll();
    EXPECT_TRUE(link.log.empty()) << "cancelled";

    store->speaker.rdaConnected = 0;
    prompts.shown.clear();
    editor.sendAll();
    EXPECT_EQ(prompts.shown, std::vector<std::string> { SendAllOfflineMessage });
    EXPECT_TRUE(link.log.empty());
}

} // namespace
} // namespace arx

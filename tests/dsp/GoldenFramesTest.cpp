// The coefficient frames of a fixed set of settings against a reviewed text file of their
// bytes. After an intended change of the bytes, rewrite the file with
//   ARX_UPDATE_GOLDEN=1 build/tests/dsp/arx_dsp_tests --gtest_filter='GoldenFrames.*'
// and review its difference before committing it.
#include "dsp/CoefficientFrames.h"

#include "RecordingLink.h"
#include "dsp/BandKinds.h"
#include "dsp/CoefficientDesigns.h"
#include "model/Store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace arx {
namespace {

using test::hex;

const char *const Header
    = "# Coefficient frames in hex for the settings named above each. Checked by\n"
      "# GoldenFramesTest; regenerate only on purpose (see that test) and review the diff.\n";

struct MicBandCase {
    const char *label;
    int band;
    MicEqBand settings;
};

struct SpeakerBandCase {
    const char *label;
    int channel, band;
    SpeakerBand settings;
};

struct CrossoverCase {
    const char *label;
    std::int32_t frequency, type, qCode;
};

struct DynamicsCase {
    const char *label;
    int channel;
    std::int32_t threshold, attack, release, ratio;
};

// clang-format off
const MicBandCase micBands[] = {
    {"mic band 1: 100 Hz, gain code 300 (0 dB), Q code 200, enabled, peaking", 1, {100, 300, 200, 1, 0, EqShapePeaking}},
    {"mic band 2: 1000 Hz, gain code 420 (+12 dB), Q code 20, enabled, peaking", 2, {1000, 420, 20, 1, 0, EqShapePeaking}},
    {"mic band 3: 2000 Hz, gain code 150 (-15 dB), Q code 50, enabled, high shelf", 3, {2000, 150, 50, 1, 0, EqShapeHighShelf}},
    {"mic band 4: 250 Hz, gain code 360 (+6 dB), Q code 140, disabled, low shelf", 4, {250, 360, 140, 0, 0, EqShapeLowShelf}},
    {"mic band 1: 5000 Hz, gain code 600 (+30 dB), Q code 1, enabled, peaking (b0 saturates)", 1, {5000, 600, 1, 1, 0, EqShapePeaking}},
    {"mic band 2: 20 Hz, gain code 0 (-30 dB), Q code 1000, enabled, peaking", 2, {20, 0, 1000, 1, 0, EqShapePeaking}},
    {"mic band 3: 20000 Hz, gain code 380 (+8 dB), Q code 10, enabled, peaking", 3, {20000, 380, 10, 1, 0, EqShapePeaking}},
};

const SpeakerBandCase speakerBands[] = {
    {"speaker A band 1: 50 Hz, gain 180 (0 dB), q 20", 0, 1, {50, 180, 20, 0, 0, 1}},
    {"speaker A band 4: 1000 Hz, gain 300 (+12 dB), q 20", 0, 4, {1000, 300, 20, 0, 0, 1}},
    {"speaker B band 7: 12000 Hz, gain 0 (-18 dB), q 100", 1, 7, {12000, 0, 100, 0, 0, 1}},
    {"speaker B band 2: 200 Hz, gain 60 (-12 dB), q 5", 1, 2, {200, 60, 5, 0, 0, 1}},
    {"speaker A band 6: 20000 Hz, gain 250 (+7 dB), q 1000", 0, 6, {20000, 250, 1000, 0, 0, 1}},
};

const CrossoverCase highPasses[] = {
    {"speaker A high-pass: 80 Hz, Butterworth 1", 80, CrossoverButterworth1, 10},
    {"speaker A high-pass: 80 Hz, Butterworth 2", 80, CrossoverButterworth2, 10},
    {"speaker A high-pass: 80 Hz, Bessel 2", 80, CrossoverBessel2, 10},
    {"speaker A high-pass: 80 Hz, Linkwitz 2", 80, CrossoverLinkwitz2, 10},
    {"speaker A high-pass: 80 Hz, Variable, Q code 7", 80, CrossoverVariable, 7},
    {"speaker A high-pass: 20 Hz, Butterworth 1 (start values)", 20, CrossoverButterworth1, 0},
};

const CrossoverCase lowPasses[] = {
    {"speaker B low-pass: 2000 Hz, Butterworth 1", 2000, CrossoverButterworth1, 10},
    {"speaker B low-pass: 2000 Hz, Butterworth 2", 2000, CrossoverButterworth2, 10},
    {"speaker B low-pass: 2000 Hz, Bessel 2", 2000, CrossoverBessel2, 10},
    {"speaker B low-pass: 2000 Hz, Linkwitz 2", 2000, CrossoverLinkwitz2, 10},
    {"speaker B low-pass: 2000 Hz, Variable, Q code 30", 2000, CrossoverVariable, 30},
    {"speaker B low-pass: 20000 Hz, Butterworth 1 (start values)", 20000, CrossoverButterworth1, 0},
};

const DynamicsCase dynamics[] = {
    {"speaker A dynamics: threshold 0, attack 1 ms, release 1 ms, ratio 10 (start values)", 0, 0, 1, 1, 10},
    {"speaker B dynamics: threshold 20, attack 50 ms, release 100 ms, ratio 40", 1, 20, 50, 100, 40},
    {"speaker A dynamics: threshold 60, attack 300 ms, release 100 ms, ratio 2000", 0, 60, 300, 100, 2000},
};
// clang-format on

std::string goldenText()
{
    std::ostringstream text;
    text << Header;
    const auto entry = [&text](const char *label, std::span<const std::uint8_t> frame) {
        text << '\n' << label << '\n' << "  " << hex(frame) << '\n';
    };

    auto store = std::make_unique<Store>();
    SetDefaults(*store);
    store->eulerConstant = computeEulerConstant();
    DeviceRecord &unit = store->unitTable[0];

    for (const MicBandCase &row : micBands) {
        unit.eqBands[row.band - 1] = row.settings;
        entry(row.label, *buildMicEqFrame(unit, row.band));
    }
    unit.eqLowCutOn = 1;
    unit.eqLowCutFrequency = 20;
    entry("mic low cut: on, 20 Hz, low-cut shape 4 (start values)",
        *buildMicEqFrame(unit, MicLowCutBand));
    unit.eqLowCutOn = 0;
    unit.eqLowCutFrequency = 200;
    unit.eqLowCutShape = 7;
    entry("mic low cut: off, 200 Hz, low-cut shape 7", *buildMicEqFrame(unit, MicLowCutBand));

    for (const SpeakerBandCase &row : speakerBands) {
        SpeakerChannel &channel = store->speaker.channels[row.channel];
        channel.bands[row.band - 1] = row.settings;
        entry(row.label, *buildSpeakerEqFrame(channel, row.channel, row.band));
    }
    SpeakerChannel &channelA = store->speaker.channels[0];
    for (const CrossoverCase &row : highPasses) {
        channelA.hpFrequency = row.frequency;
        channelA.hpType = row.type;
        channelA.hpQ = row.qCode;
        entry(row.label, *buildHighPassFrame(channelA, 0));
    }
    SpeakerChannel &channelB = store->speaker.channels[1];
    for (const CrossoverCase &row : lowPasses) {
        channelB.lpFrequency = row.frequency;
        channelB.lpType = row.type;
        channelB.lpQ = row.qCode;
        entry(row.label, *buildLowPassFrame(channelB, 1));
    }
    for (const DynamicsCase &row : dynamics) {
        SpeakerChannel &settings = store->speaker.channels[row.channel];
        settings.threshold = row.threshold;
        settings.attack = row.attack;
        settings.release = row.release;
        settings.ratio = row.ratio;
        entry(row.label, buildDynamicsFrame(settings, row.channel, store->eulerConstant));
    }
    return text.str();
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

TEST(GoldenFrames, FramesOfTheListedSettingsMatchTheReviewedFile)
{
    const std::string built = goldenText();
    if (std::getenv("ARX_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(ARX_DSP_GOLDEN_FILE, std::ios::binary) << built;
        GTEST_SKIP() << "rewrote " << ARX_DSP_GOLDEN_FILE;
    }

    std::ifstream file(ARX_DSP_GOLDEN_FILE, std::ios::binary);
    ASSERT_TRUE(file) << "cannot read " << ARX_DSP_GOLDEN_FILE;
    const std::string stored(
        (std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    const std::vector<std::string> expected = linesOf(stored);
    const std::vector<std::string> actual = linesOf(built);
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "line " << i + 1 << " of " << ARX_DSP_GOLDEN_FILE;
    EXPECT_EQ(actual.size(), expected.size()) << "number of lines";
}

} // namespace
} // namespace arx

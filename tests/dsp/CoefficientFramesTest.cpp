#include "dsp/CoefficientFrames.h"

#include "ComplexResponse.h"

#include "RecordingLink.h"
#include "dsp/BandKinds.h"
#include "dsp/CoefficientDesigns.h"
#include "dsp/FixedPoint.h"
#include "model/Store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <span>

namespace arx {
namespace {

using test::hex;

std::string hexAt(std::span<const std::uint8_t> frame, std::size_t offset, std::size_t count)
{
    return hex(frame.subspan(offset, count));
}

// A 5.23 word read back as the processor reads it.
double decode5_23(std::span<const std::uint8_t> frame, std::size_t offset, bool bits28)
{
    std::uint32_t word = std::uint32_t(frame[offset]) << 24 | std::uint32_t(frame[offset + 1]) << 16
        | std::uint32_t(frame[offset + 2]) << 8 | frame[offset + 3];
    if (bits28 && (word & 0x08000000u))
        word |= 0xF0000000u; // 28-bit two's complement
    return static_cast<std::int32_t>(word) / 8388608.0;
}

// The magnitude at one frequency of the section that a processor frame carries as
// b0, b1, b2, -a1, -a2 from `offset`.
double carriedMagnitudeDb(
    std::span<const std::uint8_t> frame, std::size_t offset, bool bits28, double frequency)
{
    double word[5];
    for (int i = 0; i < 5; ++i)
        word[i] = decode5_23(frame, offset + 4 * i, bits28);
    return test::complexMagnitudeDb(
        word[0], word[1], word[2], -word[3], -word[4], frequency, DEVICE_RATE);
}

class FramesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaults(*store);
        store->eulerConstant = computeEulerConstant();
    }
    DeviceRecord &unit() { return store->unitTable[0]; }
    SpeakerChannel &channel(int c) { return store->speaker.channels[c]; }

    std::unique_ptr<Store> store = std::make_unique<Store>();
};

TEST_F(FramesTest, MicBandFrameCarriesItsSettingsAndCoefficients)
{
    unit().eqBands[1] = { 1000, 420, 20, 1, 0, EqShapeHighShelf };
    const MicEqFrame frame = *buildMicEqFrame(unit(), 2);

    EXPECT_EQ(hexAt(frame, 0, 11), "25 54 01 01 02 03 E8 00 C8 01 A4")
        << "'%T', band 2 as 1, enabled, shape, 1000 Hz, Q x 100 = 200, gain code 420";
    const Biquad section = micPeakingCoefficients(1000, 420, 20);
    EXPECT_EQ(hexAt(frame, 11, 3), hex(toFixed3_21(-section.a1))) << "-a1";
    EXPECT_EQ(hexAt(frame, 14, 3), hex(toFixed3_21(-section.a2))) << "-a2";
    EXPECT_EQ(hexAt(frame, 17, 3), hex(toFixed3_21(section.b0))) << "b0";
    EXPECT_EQ(hexAt(frame, 20, 3), hex(toFixed3_21(section.b1))) << "b1";
    EXPECT_EQ(hexAt(frame, 23, 3), hex(toFixed3_21(section.b2))) << "b2";
    EXPECT_EQ(frame[26], '#');
}

TEST_F(FramesTest, MicBandAtZeroGainSendsUnityB0WhateverFrequencyAndQ)
{
    for (int frequency : { 20, 1000, 20000 }) {
        for (int qCode : { 1, 200, 1000 }) {
            unit().eqBands[0] = { frequency, 300, qCode, 1, 0, EqShapePeaking };
            const MicEqFrame frame = *buildMicEqFrame(unit(), 1);
            EXPECT_EQ(hexAt(frame, 17, 3), "20 00 00") << frequency << " Hz, Q code " << qCode;
        }
    }
}

TEST_F(FramesTest, MicBandWithAHugeBoostSendsSaturatedB0)
{
    unit().eqBands[3] = { 5000, 600, 1, 1, 0, EqShapePeaking }; // +30 dB, Q 0.01
    ASSERT_GT(micPeakingCoefficients(5000, 600, 1).b0, 4.0) << "the design exceeds the range";
    const MicEqFrame frame = *buildMicEqFrame(unit(), 4);
    EXPECT_EQ(hexAt(frame, 17, 3), "7F FF FF") << "the largest word, not a wrapped one";
}

TEST_F(FramesTest, LowCutFrameAlwaysCarriesShapeOneAndQ200)
{
    unit().eqLowCutOn = 1;
    unit().eqLowCutFrequency = 120;
    unit().eqLowCutShape = 4;
    unit().eqLowCutQ = 555;
    const MicEqFrame frame = *buildMicEqFrame(unit(), MicLowCutBand);
    EXPECT_EQ(hexAt(frame, 0, 11), "25 54 04 01 01 00 78 00 C8 00 04")
        << "band index 4, on, shape byte 1, 120 Hz, 200, low-cut shape 4";
    const Biquad section = micLowCutCoefficients(120);
    EXPECT_EQ(hexAt(frame, 11, 3), hex(toFixed3_21(-section.a1))) << "-a1";
    EXPECT_EQ(hexAt(frame, 23, 3), hex(toFixed3_21(section.b2))) << "b2";
    EXPECT_EQ(frame[26], '#');
}

TEST_F(FramesTest, MicFrameExistsOnlyForBandsOneToFive)
{
    EXPECT_FALSE(buildMicEqFrame(unit(), 0).has_value());
    EXPECT_FALSE(buildMicEqFrame(unit(), 6).has_value());
}

TEST_F(FramesTest, SpeakerBandFrameUses28BitWords)
{
    channel(1).bands[2] = { 800, 180, 20, 0, 0, 1 }; // 0 dB
    const SpeakerEqFrame frame = *buildSpeakerEqFrame(channel(1), 1, 3);
    EXPECT_EQ(hexAt(frame, 0, 12), "AA 55 1D 01 01 03 03 20 00 14 00 B4")
        << "length 29, command 1, channel B, band 3, 800 Hz, q 20, gain 180";
    EXPECT_EQ(hexAt(frame, 12, 4), "00 80 00 00") << "b0 = 1 at 0 dB";
    EXPECT_EQ(frame[16] >> 4, 0) << "negative b1 without its top nibble: " << hexAt(frame, 16, 4);
    EXPECT_NE(frame[16], 0) << "b1 is negative: " << hexAt(frame, 16, 4);
    EXPECT_EQ(frame[32], 0xA5);
    EXPECT_NEAR(carriedMagnitudeDb(frame, 12, true, 800), 0.0, 1e-4);

    channel(0).bands[6] = { 3000, 300, 20, 0, 0, 1 }; // +12 dB
    const SpeakerEqFrame boost = *buildSpeakerEqFrame(channel(0), 0, 7);
    EXPECT_NEAR(carriedMagnitudeDb(boost, 12, true, 3000), 12.0, 1e-3) << "carried band";
}

TEST_F(FramesTest, HighPassUsesFullWordsAndLowPass28Bits)
{
    channel(0).hpFrequency = 100;
    channel(0).hpType = CrossoverButterworth2;
    channel(0).lpFrequency = 5000;
    channel(0).lpType = CrossoverLinkwitz2;
    const CrossoverFrame highPass = *buildHighPassFrame(channel(0), 0);
    const CrossoverFrame lowPass = *buildLowPassFrame(channel(0), 0);

    EXPECT_EQ(hexAt(highPass, 0, 7), "AA 55 1B 02 00 00 64") << "command 2, 100 Hz";
    EXPECT_EQ(highPass[11] >> 4, 0xF)
        << "negative b1 keeps its top nibble: " << hexAt(highPass, 11, 4);
    EXPECT_EQ(hexAt(highPass, 27, 4), "01 00 00 A5") << "type 1, Q code 0";
    EXPECT_NEAR(carriedMagnitudeDb(highPass, 7, false, 100), 20 * std::log10(0.707), 0.02)
        << "Butterworth corner, within the words' precision";

    EXPECT_EQ(hexAt(lowPass, 0, 7), "AA 55 1B 03 00 13 88") << "command 3, 5000 Hz";
    EXPECT_EQ(lowPass[23] >> 4, 0)
        << "negative -a2 without its top nibble: " << hexAt(lowPass, 23, 4);
    EXPECT_EQ(hexAt(lowPass, 27, 4), "03 00 00 A5") << "type 3, Q code 0";
    EXPECT_NEAR(carriedMagnitudeDb(lowPass, 7, true, 5000), -6.02, 1e-2) << "Linkwitz corner";
}

TEST_F(FramesTest, VariableCrossoverWithQCode7IsDesignedWithQ07)
{
    channel(1).lpFrequency = 1000;
    channel(1).lpType = CrossoverVariable;
    channel(1).lpQ = 7;
    const CrossoverFrame frame = *buildLowPassFrame(channel(1), 1);
    EXPECT_EQ(hexAt(frame, 27, 4), "04 00 07 A5") << "type 4, Q code 7";
    EXPECT_NEAR(carriedMagnitudeDb(frame, 7, true, 1000), 20 * std::log10(0.7), 1e-3)
        << "a second-order section is Q at its corner";
}

TEST_F(FramesTest, CrossoverOfUnknownTypeHasNoFrame)
{
    channel(0).hpType = 5;
    channel(0).lpType = -1;
    EXPECT_FALSE(buildHighPassFrame(channel(0), 0).has_value());
    EXPECT_FALSE(buildLowPassFrame(channel(0), 0).has_value());
}

TEST_F(FramesTest, DynamicsFrameCarriesLowBytesAndFullWords)
{
    channel(1).threshold = 20;
    channel(1).attack = 300;
    channel(1).release = 100;
    channel(1).ratio = 40;
    const DynamicsFrame frame = buildDynamicsFrame(channel(1), 1, store->eulerConstant);

    EXPECT_EQ(hexAt(frame, 0, 10), "AA 55 2B 05 01 00 28 14 2C 64")
        << "length 43, command 5, channel B, ratio 40, threshold 20, attack 300 as 0x2C, release "
           "100";
    const double average = 1 - std::exp(-1.0 / 96);
    EXPECT_NEAR(decode5_23(frame, 10, false), average, 1.0 / 8388608) << "avg";
    EXPECT_NEAR(decode5_23(frame, 14, false), 1 - average, 1.0 / 8388608) << "1 - avg";
    const double attack = 1 - std::exp(-1.0 / (0.3 * 96000));
    EXPECT_NEAR(decode5_23(frame, 18, false), attack, 2.0 / 8388608) << "att";
    EXPECT_NEAR(decode5_23(frame, 22, false), 1 - attack, 2.0 / 8388608) << "1 - att";
    EXPECT_EQ(frame[34] >> 4, 0xF)
        << "negative threshold word with all 32 bits: " << hexAt(frame, 34, 4);
    EXPECT_NEAR(decode5_23(frame, 34, false), -44 / 6.0206, 1e-6) << "thr";
    EXPECT_NEAR(decode5_23(frame, 38, false), -0.75, 1e-6) << "slope of 1:4";
    EXPECT_EQ(hexAt(frame, 42, 5), "00 08 42 10 A5") << "541200 and the end byte";
}

} // namespace
} // namespace arx

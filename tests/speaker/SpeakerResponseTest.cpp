#include "speaker/SpeakerResponse.h"

#include "../dsp/ComplexResponse.h"
#include "dsp/CoefficientDesigns.h"
#include "model/Store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace arx {
namespace {

SpeakerChannel defaultChannel()
{
    auto store = std::make_unique<Store>();
    SetDefaults(*store);
    return store->speaker.channels[0];
}

TEST(SpeakerResponse, IsTheSumOfTheSentSectionsAtTheDeviceRate)
{
    SpeakerChannel channel = defaultChannel();
    channel.bands[2].gain = 60; // -12 dB at 800 Hz
    channel.bands[5].gain = 300; // +12 dB at 8 kHz
    channel.hpType = CrossoverLinkwitz2;
    channel.hpFrequency = 80;
    channel.lpType = CrossoverVariable;
    channel.lpFrequency = 12000;
    channel.lpQ = 30;

    ResponseCurve curve;
    channelResponse(channel, curve);
    for (std::size_t k = 0; k < GridPointCount; k += 8) {
        const double f = FrequencyGrid[k];
        double expected = 0.0;
        for (const SpeakerBand &band : channel.bands) {
            expected += test::complexMagnitudeDb(
                speakerPeakingCoefficients(band.frequency, band.gain, band.q), f, DEVICE_RATE);
        }
        expected += test::complexMagnitudeDb(
            *crossoverHighPassCoefficients(CrossoverLinkwitz2, 80, 0), f, DEVICE_RATE);
        expected += test::complexMagnitudeDb(
            *crossoverLowPassCoefficients(CrossoverVariable, 12000, 30), f, DEVICE_RATE);
        EXPECT_NEAR(curve[k], expected, 1e-9) << f << " Hz";
    }
    EXPECT_NEAR(curve[nearestGridIndex(80)], -6.0, 0.3) << "Linkwitz meets at -6 dB";
    EXPECT_NEAR(curve[nearestGridIndex(800)], -12.0, 0.3);
}

TEST(SpeakerResponse, DefaultsAreFlatInTheBandAndAStartUpVariableQStaysFinite)
{
    SpeakerChannel channel = defaultChannel();
    ResponseCurve curve;
    channelResponse(channel, curve);
    EXPECT_NEAR(curve[nearestGridIndex(1000)], 0.0, 0.01);
    EXPECT_LT(curve[0], -0.5) << "the 20 Hz first-order high-pass";

    channel.hpType = CrossoverVariable; // Q code 0, which the design divides by
    channel.lpType = 9; // no design: adds nothing
    channelResponse(channel, curve);
    for (double value : curve)
        ASSERT_TRUE(std::isfinite(value));
    EXPECT_NEAR(curve[GridPointCount - 1], 0.0, 0.01);
}

TEST(SpeakerResponseAxes, MapFrequencyAndLevelBothWays)
{
    const ResponseAxes axes { .width = 600, .height = 300, .topDb = 18, .bottomDb = -30 };
    EXPECT_DOUBLE_EQ(axes.x(20), 0.0);
    EXPECT_NEAR(axes.x(20000), 600.0, 1e-9);
    EXPECT_NEAR(axes.x(632.4555), 300.0, 1e-3) << "log scale: the middle is sqrt(20 x 20000)";
    EXPECT_DOUBLE_EQ(axes.y(18), 0.0);
    EXPECT_DOUBLE_EQ(axes.y(-30), 300.0);
    for (double f : { 20.0, 57.3, 1000.0, 19585.0 })
        EXPECT_NEAR(axes.frequency(axes.x(f)), f, 1e-9 * f);
    for (double db : { 18.0, 0.0, -7.5, -30.0 })
        EXPECT_NEAR(axes.db(axes.y(db)), db, 1e-12);
}

} // namespace
} // namespace arx

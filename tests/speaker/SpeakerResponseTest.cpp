#include "speaker/SpeakerResponse.h"

#include "../dsp/ComplexResponse.h"
#include "dsp/CoefficientDesigns.h"
#include "dsp/FrequencyGrid.h"
#include "model/Store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <vector>

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
    channelResponse(channel, FrequencyGrid, curve);
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
    channelResponse(channel, FrequencyGrid, curve);
    EXPECT_NEAR(curve[nearestGridIndex(1000)], 0.0, 0.01);
    EXPECT_LT(curve[0], -0.5) << "the 20 Hz first-order high-pass";

    channel.hpType = CrossoverVariable; // Q code 0, which the design divides by
    channel.lpType = 9; // no design: adds nothing
    channelResponse(channel, FrequencyGrid, curve);
    for (double value : curve)
        ASSERT_TRUE(std::isfinite(value));
    EXPECT_NEAR(curve[GridPointCount - 1], 0.0, 0.01);
}

// Narrow cuts between the view's pixel columns (on the 241-point grid these two were drawn
// -11.4 and -8.6 dB deep) are drawn within 0.1 dB of their real depth.
TEST(SpeakerResponsePoints, ANarrowCutIsDrawnToItsFullDepth)
{
    auto store = std::make_unique<Store>();
    SetDefaults(*store);
    SpeakerChannel &channel = store->speaker.channels[0];
    channel.bands[0] = { .frequency = 40, .gain = 0, .q = 100 }; // -18 dB, Q 10
    channel.bands[3] = { .frequency = 1015, .gain = 60, .q = 100 }; // -12 dB, Q 10
    SpeakerResponsePoints points;
    points.setAxes({ .width = 652, .height = 300, .topDb = 18, .bottomDb = -30 });
    points.compute(store->speaker);
    const std::span<const double> drawnAt = points.frequencies();
    for (const double centre : { 40.0, 1015.0 }) {
        std::vector<double> dense(20000), real(dense.size()); // +-20 % around the centre
        for (std::size_t k = 0; k < dense.size(); ++k)
            dense[k] = centre * std::pow(1.2, 2.0 * double(k) / double(dense.size()) - 1.0);
        channelResponse(channel, dense, real);
        double drawn = 0.0;
        for (std::size_t k = 0; k < drawnAt.size(); ++k) {
            if (drawnAt[k] >= dense.front() && drawnAt[k] <= dense.back())
                drawn = std::min(drawn, points.decibels(0)[k]);
        }
        EXPECT_NEAR(drawn, *std::min_element(real.begin(), real.end()), 0.1) << centre << " Hz";
    }
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

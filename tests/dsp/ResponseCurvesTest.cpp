#include "dsp/ResponseCurves.h"

#include "ComplexResponse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace arx {
namespace {

// |H(e^jw)| in dB at the display rate.
double complexMagnitudeDb(const Biquad &section, double frequency)
{
    return test::complexMagnitudeDb(section, frequency, DISPLAY_RATE);
}

double complexMagnitudeDb(const SectionChain &sections, double frequency)
{
    double sum = 0.0;
    for (const Biquad &section : sections)
        sum += complexMagnitudeDb(section, frequency);
    return sum;
}

// The digital Butterworth magnitude of an order through the bilinear transform.
double butterworthDb(bool lowPass, int order, double corner, double frequency)
{
    const double ratio = std::tan(std::numbers::pi * frequency / DISPLAY_RATE)
        / std::tan(std::numbers::pi * corner / DISPLAY_RATE);
    const double x = std::pow(lowPass ? ratio : 1.0 / ratio, 2.0 * order);
    return -10.0 * std::log10(1.0 + x);
}

TEST(FrequencyGrid, HoldsTheListedValuesAscending)
{
    // The first value of every listed row of twelve, and the last point.
    const std::pair<std::size_t, double> anchors[] = {
        { 0, 19.71 },
        { 12, 27.8 },
        { 24, 39.4 },
        { 36, 55.7 },
        { 48, 78.7 },
        { 60, 111 },
        { 72, 158 },
        { 84, 223 },
        { 96, 315 },
        { 108, 445 },
        { 120, 630 },
        { 132, 891 },
        { 144, 1260 },
        { 156, 1782 },
        { 168, 2520 },
        { 180, 3564 },
        { 192, 5000 },
        { 204, 7127 },
        { 216, 10079 },
        { 228, 14254 },
        { 240, 20000 },
        { 136, 1000 },
        { 112, 500 },
        { 232, 16000 },
    };
    for (const auto &[index, value] : anchors)
        EXPECT_EQ(FrequencyGrid[index], value) << "grid point " << index;
    for (std::size_t i = 1; i < GridPointCount; ++i)
        EXPECT_LT(FrequencyGrid[i - 1], FrequencyGrid[i]) << "grid point " << i;
}

TEST(FrequencyGrid, SnapsToTheNearestPointAndTheUpperOneHalfWay)
{
    const std::pair<double, std::size_t> rows[] = {
        { 1000, 136 },
        { 20100, 240 },
        { 10, 0 },
        { 19.71, 0 },
        { 20.61, 2 }, // 20.61: half way
        { 20.6, 1 },
        { 20.62, 2 },
        { 30000, 240 },
        { 1015, 137 },
        { 1014.9, 136 },
    };
    for (const auto &[frequency, index] : rows)
        EXPECT_EQ(nearestGridIndex(frequency), index) << frequency << " Hz";
}

TEST(PeakingResponse, ZeroGainIsFlatWhateverTheBandwidth)
{
    ResponseCurve curve;
    for (double bandwidth : { 0.001, 0.5, 1.0, 10.0 }) {
        peakingResponse(1000, 0.0, bandwidth, curve);
        for (std::size_t k = 0; k < GridPointCount; ++k)
            ASSERT_NEAR(curve[k], 0.0, 1e-12) << "bandwidth " << bandwidth << ", point " << k;
    }
}

TEST(PeakingResponse, EqualsTheGainAtTheSnappedCentreAndFadesAway)
{
    ResponseCurve curve;
    for (double gainDb : { 12.0, -9.5, 3.0 }) {
        peakingResponse(1003, gainDb, 1.0 / 2.0, curve); // snaps to 1000 Hz, index 136
        EXPECT_NEAR(curve[136], gainDb, 1e-9) << gainDb << " dB";
        EXPECT_NEAR(curve[0], 0.0, 0.05) << gainDb << " dB, far below";
        EXPECT_NEAR(curve[240], 0.0, 0.2) << gainDb << " dB, far above";
        const double peak = *std::max_element(curve.begin(), curve.end(),
            [](double a, double b) { return std::abs(a) < std::abs(b); });
        EXPECT_DOUBLE_EQ(peak, curve[136]) << "the centre is the extreme";
    }
}

TEST(PeakingResponse, DocumentedMagnitudeMatchesTheComplexResponse)
{
    const Biquad section = displayPeakingSection(2000, 6.0, 1.0);
    ResponseCurve curve;
    peakingResponse(2000, 6.0, 1.0, curve);
    for (std::size_t k : { 0u, 100u, 160u, 200u, 240u })
        EXPECT_NEAR(curve[k], complexMagnitudeDb(section, FrequencyGrid[k]), 1e-9) << "point " << k;
}

TEST(ShelfResponse, ZeroGainIsExactlyFlat)
{
    ResponseCurve curve;
    for (int shape : { EqShapeLowShelf, EqShapeHighShelf }) {
        curve.fill(99.0);
        shelfResponse(shape, 1000, 0.0, curve);
        for (std::size_t k = 0; k < GridPointCount; ++k)
            ASSERT_EQ(curve[k], 0.0) << "shape " << shape << ", point " << k;
    }
}

TEST(ShelfResponse, ReachesTheGainOnItsShelfAndZeroAtTheOtherEnd)
{
    ResponseCurve curve;
    shelfResponse(EqShapeLowShelf, 500, 6.0, curve);
    EXPECT_NEAR(curve[0], 6.0, 0.05) << "low shelf, 19.71 Hz";
    EXPECT_NEAR(curve[240], 0.0, 0.05) << "low shelf, 20 kHz";

    shelfResponse(EqShapeHighShelf, 2000, 6.0, curve);
    EXPECT_NEAR(curve[0], 0.0, 0.05) << "high shelf, 19.71 Hz";
    EXPECT_NEAR(curve[240], 6.0, 0.3) << "high shelf, 20 kHz";
}

TEST(ShelfResponse, IsDesignedAtTheMovedCorner)
{
    // A shelf is half its gain at its design frequency.
    const Biquad lowShelf = displayShelfSection(EqShapeLowShelf, 100, 12.0);
    EXPECT_NEAR(complexMagnitudeDb(lowShelf, 127.27), 6.0, 0.01) << "low shelf at 100 Hz";
    EXPECT_GT(complexMagnitudeDb(lowShelf, 100), 6.5) << "not at the set frequency";

    const Biquad highShelf = displayShelfSection(EqShapeHighShelf, 10000, 12.0);
    EXPECT_NEAR(complexMagnitudeDb(highShelf, 7692.3), 6.0, 0.01) << "high shelf at 10 kHz";
    EXPECT_GT(complexMagnitudeDb(highShelf, 10000), 6.5) << "not at the set frequency";
}

TEST(ShelfResponse, UndefinedShapeDrawsFlat)
{
    ResponseCurve curve;
    shelfResponse(EqShapePeaking, 1000, 6.0, curve);
    EXPECT_EQ(curve[136], 0.0) << "shape 0 is not a shelf";
}

TEST(ButterworthResponse, SlopeZeroLowPassIsThreeDecibelsDownAtItsCorner)
{
    ResponseCurve curve;
    lowPassResponse(0, 1000, curve);
    EXPECT_NEAR(curve[136], -3.0, 0.1) << "1 kHz";
    EXPECT_NEAR(curve[0], 0.0, 0.01) << "pass band";
}

TEST(ButterworthResponse, SlopeSixFallsFortyEightDecibelsPerOctave)
{
    ResponseCurve curve;
    lowPassResponse(6, 1000, curve);
    // 2, 4 and 8 kHz are points 160, 184 and 208; the sample rate's warping adds a little
    // towards the top.
    EXPECT_NEAR(curve[160] - curve[184], 48.0, 1.5) << "2 kHz to 4 kHz";
    EXPECT_NEAR(curve[184] - curve[208], 48.0, 1.5) << "4 kHz to 8 kHz";
    EXPECT_NEAR(curve[136], -3.0, 0.2) << "corner";

    highPassResponse(6, 1000, curve);
    // 250 Hz is index 88, 125 Hz index 64.
    EXPECT_NEAR(curve[88] - curve[64], 48.0, 1.5) << "125 Hz to 250 Hz";
}

TEST(ButterworthResponse, EverySlopeFollowsTheButterworthShapeOfItsOrder)
{
    ResponseCurve curve;
    for (int slope = 0; slope < SlopeCount; ++slope) {
        const int order = slope + 2;
        lowPassResponse(slope, 2000, curve);
        EXPECT_NEAR(curve[160], complexMagnitudeDb(displayLowPassSections(slope, 2000), 2000), 1e-9)
            << "documented magnitude, slope " << slope;
        for (std::size_t k : { 100u, 150u, 160u, 170u, 200u })
            EXPECT_NEAR(curve[k], butterworthDb(true, order, 2000, FrequencyGrid[k]), 0.25)
                << "low-pass slope " << slope << " at " << FrequencyGrid[k] << " Hz";
        highPassResponse(slope, 2000, curve);
        for (std::size_t k : { 100u, 150u, 160u, 170u, 200u })
            EXPECT_NEAR(curve[k], butterworthDb(false, order, 2000, FrequencyGrid[k]), 0.25)
                << "high-pass slope " << slope << " at " << FrequencyGrid[k] << " Hz";
    }
}

TEST(ButterworthResponse, OddSlopesStartWithAFirstOrderSection)
{
    for (int slope : { 1, 3, 5 }) {
        for (const SectionChain &sections :
            { displayLowPassSections(slope, 1000), displayHighPassSections(slope, 1000) }) {
            EXPECT_EQ(sections[0].b2, 0.0) << "slope " << slope;
            EXPECT_EQ(sections[0].a2, 0.0) << "slope " << slope;
            EXPECT_NEAR(complexMagnitudeDb(sections[0], 1000), -3.0103, 0.001) << "slope " << slope;
        }
    }
}

TEST(ButterworthResponse, UsesTheStoredDampingDigits)
{
    EXPECT_EQ(ButterworthOrderTable[3][1], 0.8064616129);
    EXPECT_EQ(ButterworthOrderTable[3][2], 0.3086417953);
    EXPECT_EQ(ButterworthOrderTable[6][0], 0.98039216);
    EXPECT_EQ(HighPassSlope6FirstDamping, 0.98039126);

    // The slope-6 high-pass designs its first section with its own digit: a2 = (1 - d s) / a0.
    const double s = std::sin(1000 * DisplayDesignAnglePerHz);
    const SectionChain lowPass = displayLowPassSections(6, 1000);
    const SectionChain highPass = displayHighPassSections(6, 1000);
    EXPECT_DOUBLE_EQ(lowPass[0].a2, (1 - 0.98039216 * s) / (1 + 0.98039216 * s));
    EXPECT_DOUBLE_EQ(highPass[0].a2, (1 - 0.98039126 * s) / (1 + 0.98039126 * s));
    // Every other section is the same on both sides.
    EXPECT_DOUBLE_EQ(lowPass[3].a2, highPass[3].a2);
}

TEST(ButterworthResponse, AbsentSectionsContributeNothing)
{
    const SectionChain sections = displayLowPassSections(0, 1000);
    for (int k = 1; k < MaxSectionCount; ++k) {
        EXPECT_EQ(sections[k].b0, 1.0) << "section " << k;
        EXPECT_EQ(sections[k].a1, 0.0) << "section " << k;
        EXPECT_EQ(sections[k].magnitudeDb(0.3), 0.0) << "section " << k;
    }
}

} // namespace
} // namespace arx

#include "format/SliderAxis.h"

#include <gtest/gtest.h>

#include <ostream>

namespace arx {
namespace {

// The level sliders of the speaker page: a 247-pixel channel and a 16-pixel thumb.
constexpr SliderAxis levelSlider { 247, 0, 0, 16, 0, 254 };

TEST(SliderAxis, LevelSliderPutsItsEndsHalfAThumbInFromTheChannelEnds)
{
    EXPECT_EQ(levelSlider.pixelOf(254), 239);
    EXPECT_EQ(levelSlider.pixelOf(0), 8);
    EXPECT_EQ(levelSlider.firstPixel(), 8);
    EXPECT_EQ(levelSlider.lastPixel(), 239);
    EXPECT_EQ(levelSlider.positionOf(239), 254);
    EXPECT_EQ(levelSlider.positionOf(8), 0);
}

TEST(SliderAxis, MarginsShiftTheTravel)
{
    const SliderAxis axis { 200, 10, 20, 10, 0, 100 };
    EXPECT_EQ(axis.pixelOf(0), 15) << "start margin plus half the thumb";
    EXPECT_EQ(axis.pixelOf(100), 175) << "length minus end margin minus half the thumb";
    EXPECT_EQ(axis.pixelOf(50), 95);
    EXPECT_EQ(axis.positionOf(95), 50);
}

TEST(SliderAxis, PositionsBeyondTheRangeAreDrawnAtTheEnds)
{
    EXPECT_EQ(levelSlider.pixelOf(-10), 8);
    EXPECT_EQ(levelSlider.pixelOf(1000), 239);
}

TEST(SliderAxis, ClampsPixelsAndPositionsToTheTravel)
{
    EXPECT_EQ(levelSlider.clampPixel(-40), 8);
    EXPECT_EQ(levelSlider.clampPixel(400), 239);
    EXPECT_EQ(levelSlider.clampPixel(100), 100);
    EXPECT_EQ(levelSlider.clampPosition(-1), 0);
    EXPECT_EQ(levelSlider.clampPosition(255), 254);
}

TEST(SliderAxis, AnEmptyRangeOrChannelStaysAtTheStart)
{
    const SliderAxis emptyRange { 247, 0, 0, 16, 5, 5 };
    EXPECT_EQ(emptyRange.pixelOf(5), 8);
    EXPECT_EQ(emptyRange.positionOf(100), 5);
    const SliderAxis noTravel { 16, 0, 0, 16, 0, 10 };
    EXPECT_EQ(noTravel.pixelOf(10), 8);
    EXPECT_EQ(noTravel.positionOf(8), 0);
}

struct AxisRow {
    SliderAxis axis;
};

std::ostream &operator<<(std::ostream &out, const AxisRow &row)
{
    const SliderAxis &a = row.axis;
    return out << "length " << a.length << " margins " << a.startMargin << '/' << a.endMargin
               << " thumb " << a.thumbSize << " range " << a.minimum << ".." << a.maximum;
}

class SliderRoundTrip : public ::testing::TestWithParam<AxisRow> { };

TEST_P(SliderRoundTrip, EndsMapExactlyBothWays)
{
    const SliderAxis &axis = GetParam().axis;
    EXPECT_EQ(axis.positionOf(axis.pixelOf(axis.minimum)), axis.minimum);
    EXPECT_EQ(axis.positionOf(axis.pixelOf(axis.maximum)), axis.maximum);
    EXPECT_EQ(axis.pixelOf(axis.positionOf(axis.firstPixel())), axis.firstPixel());
    EXPECT_EQ(axis.pixelOf(axis.positionOf(axis.lastPixel())), axis.lastPixel());
}

// Both maps truncate, so a round trip may fall back, but never forward and never by more
// than one step of the coarser grid: the thumb never runs ahead of the pointer, and a
// position never jumps past its neighbour.
TEST_P(SliderRoundTrip, RoundTripsFallBackByLessThanOneGridStep)
{
    const SliderAxis &axis = GetParam().axis;
    const int span = axis.maximum - axis.minimum;
    const int travel = axis.lastPixel() - axis.firstPixel();
    const int pixelsPerPosition = (travel + span - 1) / span;
    const int positionsPerPixel = (span + travel - 1) / travel;
    for (int pixel = axis.firstPixel(); pixel <= axis.lastPixel(); ++pixel) {
        const int position = axis.positionOf(pixel);
        ASSERT_GE(position, axis.minimum) << "pixel " << pixel;
        ASSERT_LE(position, axis.maximum) << "pixel " << pixel;
        const int back = axis.pixelOf(position);
        EXPECT_LE(back, pixel) << "pixel " << pixel << " never moves forward";
        EXPECT_LE(pixel - back, pixelsPerPosition) << "pixel " << pixel;
    }
    for (int position = axis.minimum; position <= axis.maximum; ++position) {
        const int back = axis.positionOf(axis.pixelOf(position));
        EXPECT_LE(back, position) << "position " << position << " never moves forward";
        EXPECT_LE(position - back, positionsPerPixel) << "position " << position;
    }
}

TEST_P(SliderRoundTrip, BothMapsRiseMonotonically)
{
    const SliderAxis &axis = GetParam().axis;
    for (int position = axis.minimum; position < axis.maximum; ++position)
        EXPECT_LE(axis.pixelOf(position), axis.pixelOf(position + 1)) << "position " << position;
    for (int pixel = axis.firstPixel(); pixel < axis.lastPixel(); ++pixel)
        EXPECT_LE(axis.positionOf(pixel), axis.positionOf(pixel + 1)) << "pixel " << pixel;
}

INSTANTIATE_TEST_SUITE_P(Axes, SliderRoundTrip,
    ::testing::Values(AxisRow { { 247, 0, 0, 16, 0, 254 } }, // speaker level: more positions
        AxisRow { { 247, 0, 0, 16, 0, 10 } }, // more pixels than positions
        AxisRow { { 247, 0, 0, 16, 30, 330 } }, // equaliser frequency range
        AxisRow { { 247, 0, 0, 16, 0, 999 } }, // equaliser Q range
        AxisRow { { 300, 3, 5, 15, -50, 50 } }, // odd thumb, margins, negative range
        AxisRow { { 120, 2, 2, 9, -1000, -900 } },
        AxisRow { { 240, 2, 9, 24, 226, 636 } })); // exact multiples along the way

} // namespace
} // namespace arx

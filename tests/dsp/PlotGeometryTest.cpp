#include "dsp/PlotGeometry.h"
#include "dsp/PlotBands.h"
#include "dsp/PlotHandles.h"
#include "dsp/ResponseCurves.h"

#include <gtest/gtest.h>

#include <cmath>

namespace arx {
namespace {

// The equaliser's plot: 860 x 220 client, framed, +-15 dB.
PlotAxes equaliserAxes(int width = 860, int height = 220)
{
    return { .area = plotAreaFor(width, height, true), .dBmin = -15, .dBmax = 15 };
}

TEST(PlotArea, FramedKeepsMarginsForTheLabelsAndUnframedUsesTheClient)
{
    const PlotArea framed = plotAreaFor(860, 220, true);
    EXPECT_EQ(framed.left, 43);
    EXPECT_EQ(framed.right, 817);
    EXPECT_EQ(framed.top, 11);
    EXPECT_EQ(framed.bottom, 198);
    const PlotArea plain = plotAreaFor(860, 220, false);
    EXPECT_EQ(plain.left, 0);
    EXPECT_EQ(plain.top, 0);
    EXPECT_EQ(plain.right, 860);
    EXPECT_EQ(plain.bottom, 220);
}

TEST(PlotAxes, FrequencyAndXAreInversesAcrossTheAxis)
{
    const PlotAxes axes = equaliserAxes();
    EXPECT_DOUBLE_EQ(axes.xOf(20), 43);
    EXPECT_DOUBLE_EQ(axes.xOf(20000), 817);
    EXPECT_NEAR(axes.xOf(632.456), 43 + 774 / 2.0, 1e-3) << "the geometric middle";
    for (const double frequency : { 20.0, 31.5, 100.0, 999.0, 1000.0, 4567.0, 20000.0 })
        EXPECT_NEAR(axes.frequencyAt(axes.xOf(frequency)), frequency, frequency * 1e-12)
            << frequency << " Hz";
    for (int x = 43; x <= 817; x += 37)
        EXPECT_NEAR(axes.xOf(axes.frequencyAt(x)), x, 1e-9) << "x " << x;
}

TEST(PlotAxes, GainAndYAreInversesAndCurvesStopAtTheEdges)
{
    const PlotAxes axes = equaliserAxes();
    EXPECT_DOUBLE_EQ(axes.yOf(15), 11);
    EXPECT_DOUBLE_EQ(axes.yOf(-15), 198);
    EXPECT_DOUBLE_EQ(axes.yOf(40), 11) << "above the range: on the top edge";
    EXPECT_DOUBLE_EQ(axes.yOf(-60), 198) << "below the range: on the bottom edge";
    for (const double gain : { -15.0, -7.3, 0.0, 0.1, 12.0, 15.0 })
        EXPECT_NEAR(axes.gainAt(axes.yOf(gain)), gain, 1e-12) << gain << " dB";
}

TEST(HandlePlacement, FullBoostOnA400PixelAreaPutsTheTopEightPixelsAboveTheArea)
{
    const PlotAxes axes {
        .area = { .left = 50, .top = 30, .right = 850, .bottom = 430 }, .dBmin = -15, .dBmax = 15
    };
    const HandleRect boost = handleRectFor(axes, { 1000, 15 });
    EXPECT_EQ(boost.top, 30 - 8);
    const HandleRect flat = handleRectFor(axes, { 1000, 0 });
    EXPECT_EQ(flat.centreY(), 230) << "0 dB on the middle line";
    EXPECT_EQ(handleRectFor(axes, { 1000, -15 }).centreY(), 430);
    EXPECT_EQ(handleRectFor(axes, { 20, 0 }).centreX(), 50);
    EXPECT_EQ(handleRectFor(axes, { 20000, 0 }).centreX(), 850);
}

TEST(HandlePlacement, AHandlePlacedFromTheValuesItReportsStaysOnItsPixel)
{
    // Each refresh places the dragged handle from its own values; a truncation that
    // fell a pixel short would walk it across the plot.
    const PlotAxes axes = equaliserAxes();
    for (int x = axes.area.left; x <= axes.area.right; ++x) {
        for (int y = axes.area.top; y <= axes.area.bottom; y += 3) {
            const HandleValues values = handleValuesAt(axes, x, y);
            const HandleRect rect = handleRectFor(axes, values);
            ASSERT_EQ(rect.centreX(), x) << "at " << x << "," << y;
            ASSERT_EQ(rect.centreY(), y) << "at " << x << "," << y;
        }
    }
}

TEST(HandlePlacement, ValuesMoveByLessThanAPixelThroughAPlacement)
{
    const PlotAxes axes = equaliserAxes();
    for (const HandleValues values : { HandleValues { 100, 0 }, HandleValues { 1234, 4.4 },
             HandleValues { 19000, -14.9 }, HandleValues { 20, 15 } }) {
        const HandleRect rect = handleRectFor(axes, values);
        const HandleValues back = handleValuesAt(axes, rect.centreX(), rect.centreY());
        EXPECT_LE(values.frequency - back.frequency, values.frequency * 0.01) << values.frequency;
        EXPECT_GE(values.frequency, back.frequency - 1e-9) << "truncates down";
        EXPECT_LT(std::abs(values.gain - back.gain), 30.0 / 187 * 1.01) << values.gain;
    }
}

TEST(HandleClamp, EachKindStaysInsideItsRange)
{
    const PlotAxes axes = equaliserAxes();
    struct Row {
        int kind;
        HandleValues in;
        HandleValues out;
    };
    const Row rows[] = {
        { BandKindEqualiser, { 5, -40 }, { 20, -15 } },
        { BandKindEqualiser, { 90000, 40 }, { 20000, 15 } },
        { BandKindEqualiser, { 700, 3 }, { 700, 3 } },
        { BandKindHighPass, { 900, 6 }, { 200, 0 } },
        { BandKindHighPass, { 2, -9 }, { 20, 0 } },
        { BandKindLowPass, { 30000, 6 }, { 20000, 0 } },
    };
    for (const Row &row : rows) {
        const HandleValues out = clampHandleValues(row.kind, row.in, axes);
        EXPECT_DOUBLE_EQ(out.frequency, row.out.frequency) << "kind " << row.kind;
        EXPECT_DOUBLE_EQ(out.gain, row.out.gain) << "kind " << row.kind;
    }
}

TEST(PlotLabels, ReadFromMinus15To15dBAndFrom20To20K)
{
    const PlotAxes axes = equaliserAxes();
    std::vector<std::string> gains;
    for (const AxisLabel &label : gainLabels(axes))
        gains.push_back(label.text);
    EXPECT_EQ(gains,
        (std::vector<std::string> {
            "-15", "-12", "-9", "-6", "-3", "0", "3", "6", "9", "12", "15dB" }));
    EXPECT_DOUBLE_EQ(gainLabels(axes).back().at, axes.area.top);
    std::vector<std::string> frequencies;
    for (const AxisLabel &label : frequencyLabels(axes))
        frequencies.push_back(label.text);
    EXPECT_EQ(frequencies, (std::vector<std::string> { "20", "100", "1K", "10K", "20K" }));
    EXPECT_DOUBLE_EQ(frequencyLabels(axes)[2].at, axes.xOf(1000));
}

TEST(PlotCurves, ADisabledFilterContributesNothingAndTheTotalIsTheSum)
{
    PlotBand peak { .gain = 6, .q = 2, .frequency = 1000 };
    PlotBand shelf { .gain = -4, .q = 1, .frequency = 5000, .shape = EqShapeHighShelf };
    PlotBand highPass { .q = 6, .frequency = 200, .kind = BandKindHighPass, .enabled = 0 };
    PlotBand lowPass { .q = 2, .frequency = 300, .kind = BandKindLowPass, .enabled = 0 };
    PlotBandCurves curves {};
    ResponseCurve total {};
    const PlotBand bands[] = { peak, shelf, highPass, lowPass };
    computePlotCurves(bands, curves, total);
    ResponseCurve expectedPeak {};
    peakingResponse(1000, 6, 0.5, expectedPeak);
    ResponseCurve expectedShelf {};
    shelfResponse(EqShapeHighShelf, 5000, -4, expectedShelf);
    for (std::size_t k = 0; k < GridPointCount; ++k) {
        ASSERT_EQ(curves[2][k], 0.0) << "disabled high-pass at " << FrequencyGrid[k];
        ASSERT_EQ(curves[3][k], 0.0) << "disabled low-pass at " << FrequencyGrid[k];
        ASSERT_DOUBLE_EQ(total[k], expectedPeak[k] + expectedShelf[k]) << FrequencyGrid[k];
    }

    highPass.enabled = 1;
    const PlotBand withHighPass[] = { peak, shelf, highPass };
    computePlotCurves(withHighPass, curves, total);
    EXPECT_LT(total[0], -30) << "an enabled low cut takes the lowest frequencies down";
}

TEST(PlotCurves, BandColoursRepeatTheFirstForTheNinthAndTurnGreenBeyond)
{
    EXPECT_EQ(plotBandColour(0), 0x80FF3333u);
    EXPECT_EQ(plotBandColour(8), plotBandColour(0));
    EXPECT_EQ(plotBandColour(4), 0x80CC3399u);
    EXPECT_EQ(plotBandColour(9), 0xFF00FF00u);
    EXPECT_EQ(plotBandColour(19), 0xFF00FF00u);
}

TEST(PlotCurves, TheOutlineRunsFromTheMiddleLineAcrossTheAxisAndBack)
{
    const PlotAxes axes = equaliserAxes();
    ResponseCurve curve {};
    curve.fill(40); // beyond the top: drawn on the edge
    const std::vector<PlotPoint> outline = curveOutline(axes, curve);
    ASSERT_EQ(outline.size(), GridPointCount - 1 + 2) << "19.71 Hz lies outside the axis";
    EXPECT_DOUBLE_EQ(outline.front().x, axes.area.left);
    EXPECT_DOUBLE_EQ(outline.front().y, axes.area.middle());
    EXPECT_DOUBLE_EQ(outline[1].y, axes.area.top);
    EXPECT_DOUBLE_EQ(outline.back().x, axes.area.right);
    EXPECT_DOUBLE_EQ(outline.back().y, axes.area.middle());
}

TEST(PointReadout, NamesFrequencyGainAndQ)
{
    const PlotBand band { .gain = 4.5, .q = 2.0, .frequency = 1250 };
    EXPECT_EQ(pointReadout(band, { 1250, 4.5 }), "1.25 kHz  +4.5 dB  Q 2.0");
    EXPECT_EQ(pointReadout(band, { 630, -12 }), "630 Hz  -12.0 dB  Q 2.0");
    EXPECT_EQ(pointReadout(band, { 12500, -0.01 }), "12.5 kHz  +0.0 dB  Q 2.0")
        << "never a negative zero";
    const PlotBand lowCut { .q = 6, .frequency = 80, .kind = BandKindHighPass };
    EXPECT_EQ(pointReadout(lowCut, { 80, 0 }), "80 Hz  low cut");
}

// --- Handles ------------------------------------------------------------------------------

class Handles : public ::testing::Test {
protected:
    void SetUp() override
    {
        const int kinds[] = { 1, 1, 1, 1, BandKindHighPass };
        handles.build(kinds);
        handles.placeAll(axes, frequencies, gains);
    }

    // Presses handle i at its centre and drags the pointer to (x, y).
    HandleValues drag(int i, int x, int y)
    {
        const HandleRect rect = handles.handles()[std::size_t(i)].rect;
        handles.select(i);
        handles.beginDrag(i, rect.centreX(), rect.centreY());
        return handles.dragTo(axes, x, y);
    }

    PlotAxes axes = equaliserAxes();
    PlotHandles handles;
    double frequencies[5] = { 100, 500, 2000, 5000, 20 };
    double gains[5] = {};
};

TEST_F(Handles, AreNumberedAndLabelledByKind)
{
    ASSERT_EQ(handles.count(), 5);
    std::vector<std::string> labels;
    for (const PlotHandle &handle : handles.handles())
        labels.push_back(handle.label);
    EXPECT_EQ(labels, (std::vector<std::string> { "1", "2", "3", "4", "H" }));
    EXPECT_EQ(handles.handles()[4].number, 5);
    const int lowPass[] = { BandKindLowPass };
    PlotHandles other;
    other.build(lowPass);
    EXPECT_EQ(other.handles()[0].label, "L");
}

TEST_F(Handles, TakeTheSmallestFreeNumber)
{
    std::vector<PlotHandle> taken(3);
    taken[0].number = 1;
    taken[1].number = 3;
    taken[2].number = 4;
    EXPECT_EQ(firstFreeHandleNumber(taken), 2);
    EXPECT_EQ(firstFreeHandleNumber({}), 1);
}

TEST_F(Handles, HitTestIncludesTheEdgesAndFindsTheFirstHandle)
{
    const HandleRect rect = handles.handles()[1].rect;
    EXPECT_EQ(handles.hitTest(rect.left, rect.top), 1);
    EXPECT_EQ(handles.hitTest(rect.right(), rect.bottom()), 1);
    EXPECT_EQ(handles.hitTest(rect.right() + 1, rect.top), -1);
    EXPECT_EQ(handles.hitTest(rect.left, rect.top - 1), -1);
    frequencies[0] = 500; // band 1 on top of band 2
    handles.placeAll(axes, frequencies, gains);
    EXPECT_EQ(handles.hitTest(rect.centreX(), rect.centreY()), 0);
}

TEST_F(Handles, ABandDraggedBelowThePlotStopsAtMinus15dB)
{
    const HandleValues values = drag(0, 300, 2000);
    EXPECT_DOUBLE_EQ(values.gain, -15);
    EXPECT_EQ(int(values.gain * 10 + 300), 150) << "gain code";
    const HandleValues corner = drag(1, -500, -500);
    EXPECT_DOUBLE_EQ(corner.frequency, 20);
    EXPECT_DOUBLE_EQ(corner.gain, 15);
}

TEST_F(Handles, TheLowCutStopsAt200HzWithNoGain)
{
    const HandleValues values = drag(4, 700, 20);
    EXPECT_DOUBLE_EQ(values.frequency, 200);
    EXPECT_DOUBLE_EQ(values.gain, 0);
}

TEST_F(Handles, DragKeepsThePointersOffsetFromTheCorner)
{
    const HandleRect rect = handles.handles()[2].rect;
    handles.select(2);
    handles.beginDrag(2, rect.left + 3, rect.top + 5);
    handles.dragTo(axes, rect.left + 3 + 40, rect.top + 5 - 20);
    const HandleRect moved = handles.handles()[2].rect;
    EXPECT_EQ(moved.left, rect.left + 40);
    EXPECT_EQ(moved.top, rect.top - 20);
}

TEST_F(Handles, AfterAResizeADraggedPointReportsWhereItIsDrawn)
{
    // Wider and taller: the same values now sit elsewhere, and a drag is measured on the
    // new area.
    axes = equaliserAxes(1260, 320);
    handles.placeAll(axes, frequencies, gains);
    const HandleRect start = handles.handles()[1].rect;
    EXPECT_EQ(start, handleRectFor(axes, { 500, 0 }));
    const HandleValues values = drag(1, start.centreX() + 100, start.centreY() - 50);
    const HandleRect drawn = handles.handles()[1].rect;
    const HandleValues atDrawn = handleValuesAt(axes, drawn.centreX(), drawn.centreY());
    EXPECT_DOUBLE_EQ(values.frequency, atDrawn.frequency);
    EXPECT_DOUBLE_EQ(values.gain, atDrawn.gain);
    EXPECT_NEAR(values.gain, 50.0 * 15 / axes.area.halfHeight(), 1e-9);
}

} // namespace
} // namespace arx

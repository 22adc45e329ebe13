// The window-free logic behind the custom controls.
#include "controls/HeaderGradient.h"
#include "controls/ImageButtonLogic.h"
#include "controls/LabelValueText.h"
#include "controls/MeterScale.h"
#include "controls/SelectorLogic.h"

#include <gtest/gtest.h>

#include <tuple>

namespace arx {
namespace {

// --- level meter ---------------------------------------------------------------------

TEST(MeterScale, DefaultZonesStartAtLedsSixAndSeven)
{
    const meter::Scale scale; // 8 LEDs, limits 26 and 30 of 32
    EXPECT_EQ(meter::firstMediumLed(scale), 6);
    EXPECT_EQ(meter::firstHighLed(scale), 7);
}

TEST(MeterScale, StripMeterZonesStartAtLeds26And30)
{
    meter::Scale scale;
    scale.ledsPerBand = 32;
    EXPECT_EQ(meter::firstMediumLed(scale), 26);
    EXPECT_EQ(meter::firstHighLed(scale), 30);
}

TEST(MeterScale, OneLedOrFewerShowsATenthOfTheRange)
{
    meter::Scale scale;
    scale.ledsPerBand = 1;
    scale.rangeMax = 50;
    EXPECT_EQ(meter::ledCount(scale), 5) << "50 * 10 / 100";
    scale.ledsPerBand = 0;
    EXPECT_EQ(meter::ledCount(scale), 5);
}

TEST(MeterScale, LedStatesFollowValueAndZones)
{
    meter::Scale scale;
    scale.ledsPerBand = 32;
    EXPECT_EQ(meter::litCount(scale, 31), 31);
    EXPECT_EQ(meter::ledState(scale, 31, 25), meter::Led::Low);
    EXPECT_EQ(meter::ledState(scale, 31, 26), meter::Led::Medium);
    EXPECT_EQ(meter::ledState(scale, 31, 29), meter::Led::Medium);
    EXPECT_EQ(meter::ledState(scale, 31, 30), meter::Led::High);
    EXPECT_EQ(meter::ledState(scale, 31, 31), meter::Led::Unlit);
    EXPECT_EQ(meter::ledState(scale, 0, 0), meter::Led::Unlit) << "zero lights nothing";
    EXPECT_EQ(meter::ledState(scale, 64, 31), meter::Led::High) << "over range lights all";
}

TEST(MeterLayout, VerticalBandsStackLedsUpwardWithGaps)
{
    const meter::Scale scale; // 8 LEDs
    // 2 bands of 20 pixels, LEDs 10 pixels high in a 40 x 85 area.
    const meter::Layout layout(scale, meter::Direction::Vertical, 2, 40, 85);
    EXPECT_EQ(layout.led(0, 0), (meter::Rect { 1, 76, 18, 9 })) << "bottom LED, 1-pixel gaps";
    EXPECT_EQ(layout.led(1, 7), (meter::Rect { 21, 6, 18, 9 })) << "top LED of the second band";
    EXPECT_FALSE(layout.tick(0, 3).has_value()) << "no tick inside a zone";
    EXPECT_EQ(layout.tick(0, 6), (meter::Line { 0, 20, 19, 20 })) << "tick at the medium zone";
    EXPECT_EQ(layout.tick(1, 7), (meter::Line { 20, 10, 39, 10 })) << "tick at the last LED";
    EXPECT_EQ(layout.peakLine(0, 32), (meter::Line { 1, 5, 18, 5 })) << "full-scale peak on top";
    EXPECT_EQ(layout.peakLine(0, 16), (meter::Line { 1, 45, 18, 45 }));
}

TEST(MeterLayout, AMeterThatDrawsNoLedHasNoPeakLine)
{
    meter::Scale scale;
    scale.ledsPerBand = 1;
    scale.rangeMax = 9; // a tenth of the range: no LED at all
    ASSERT_EQ(meter::ledCount(scale), 0);
    const meter::Layout layout(scale, meter::Direction::Vertical, 2, 40, 85);
    EXPECT_FALSE(layout.peakLine(0, 5).has_value()) << "no LED, so no peak (and no division by 0)";
}

TEST(MeterLayout, HorizontalBandsShiftDownByTheRemainder)
{
    meter::Scale scale;
    scale.ledsPerBand = 32;
    const meter::Layout strip(scale, meter::Direction::Horizontal, 1, 192, 10);
    EXPECT_EQ(strip.led(0, 0), (meter::Rect { 1, 0, 5, 10 })) << "6-pixel LEDs, left gap";
    EXPECT_EQ(strip.led(0, 31), (meter::Rect { 187, 0, 5, 10 }));
    EXPECT_FALSE(strip.peakLine(0, 32).has_value()) << "horizontal meters have no peak line";

    const meter::Layout two(scale, meter::Direction::Horizontal, 2, 192, 11);
    EXPECT_EQ(two.led(0, 0), (meter::Rect { 1, 2, 5, 3 })) << "shifted by 11 % 2, 1 pixel off";
    EXPECT_EQ(two.led(1, 0), (meter::Rect { 1, 7, 5, 3 }));
}

// --- label value text ----------------------------------------------------------------

struct ValueCase {
    double divisor, offset;
    int offMode;
    double value;
    const char *expected;
};

class LabelValueTextCase : public ::testing::TestWithParam<ValueCase> { };

TEST_P(LabelValueTextCase, ComposesPrefixNumberAndSuffix)
{
    const ValueCase c = GetParam();
    LabelValueFormat format;
    format.prefix = "G:";
    format.suffix = "dB";
    format.divisor = c.divisor;
    format.offset = c.offset;
    format.offMode = c.offMode;
    EXPECT_EQ(labelValueText(format, c.value), c.expected)
        << "value " << c.value << " divisor " << c.divisor << " offset " << c.offset;
}

INSTANTIATE_TEST_SUITE_P(Values, LabelValueTextCase,
    ::testing::Values(ValueCase { 10, 0, 0, 15, "G:1.5dB" }, ValueCase { 10, 0, 0, 20, "G:2dB" },
        ValueCase { 1, 0, 2, 10, "G:OFF" }, ValueCase { 1, 0, 1, 1, "G:OFF" },
        ValueCase { 1, 0, 2, 1, "G:1dB" }, ValueCase { 1, 0, 0, 10, "G:10dB" },
        ValueCase { 10, 18, 0, 180, "G:0dB" }, ValueCase { 10, 18, 0, 175, "G:-0.5dB" },
        ValueCase { 10, 0, 0, -15, "G:-1.5dB" }, ValueCase { 1, 0.5, 0, 3, "G:2.5dB" },
        ValueCase { 0, 0, 0, 7, "G:7dB" }));

// --- selector ------------------------------------------------------------------------

TEST(SelectorLogic, DropListHeightIsEntriesUpTo200PlusOne)
{
    EXPECT_EQ(dropListHeight(5, 25), 126);
    EXPECT_EQ(dropListHeight(8, 25), 201);
    EXPECT_EQ(dropListHeight(20, 25), 201) << "capped at 200";
    EXPECT_EQ(dropListHeight(0, 25), 1);
}

TEST(SelectorLogic, SelectionIsClampedToTheList)
{
    EXPECT_EQ(clampSelection(7, 5), 4);
    EXPECT_EQ(clampSelection(-3, 5), 0);
    EXPECT_EQ(clampSelection(2, 5), 2);
    EXPECT_EQ(clampSelection(0, 0), -1) << "nothing to select";
}

TEST(WheelAccumulator, ThreeStepsOfMinus40MoveOnceOnTheThird)
{
    WheelAccumulator wheel;
    EXPECT_EQ(wheel.add(-40), 0);
    EXPECT_EQ(wheel.add(-40), 0);
    EXPECT_EQ(wheel.add(-40), +1) << "a whole notch down moves to the next entry";
    EXPECT_EQ(wheel.pending(), 0) << "the accumulator starts again";
}

TEST(WheelAccumulator, TurnsAreCappedAtOneNotchAndKeepPartialTurns)
{
    WheelAccumulator wheel;
    EXPECT_EQ(wheel.add(360), -1) << "three notches up at once move one entry back";
    EXPECT_EQ(wheel.pending(), 0);
    EXPECT_EQ(wheel.add(60), 0);
    EXPECT_EQ(wheel.add(-30), 0) << "turning back only cancels part of it";
    EXPECT_EQ(wheel.pending(), 30);
    EXPECT_EQ(wheel.add(90), -1);
    EXPECT_EQ(wheel.add(2147483647), -1) << "no overflow on absurd deltas";
}

// --- header --------------------------------------------------------------------------

TEST(HeaderGradient, EachLineTakesTheStepOffUntilZero)
{
    const Rgb base { 171, 199, 235 };
    EXPECT_EQ(headerGradientLine(base, 8, 0), base);
    EXPECT_EQ(headerGradientLine(base, 8, 21).red, 3);
    EXPECT_EQ(headerGradientLine(base, 8, 22).red, 0);
    EXPECT_EQ(headerGradientLine(base, 8, 40), (Rgb { 0, 0, 0 })) << "every component stays at 0";
    EXPECT_EQ(headerGradientLine(base, 8, 25), (Rgb { 0, 0, 35 }));
}

// --- image button --------------------------------------------------------------------

using ImageCase = std::tuple<ButtonMode, int, bool, bool, bool, int>;
class ShownButtonImage : public ::testing::TestWithParam<ImageCase> { };

TEST_P(ShownButtonImage, FollowsModeStatePressAndHover)
{
    const auto [mode, state, pressed, hovered, hasHover, expected] = GetParam();
    EXPECT_EQ(shownButtonImage(mode, state, pressed, hovered, hasHover), expected)
        << "mode " << int(mode) << " state " << state << " pressed " << pressed << " hovered "
        << hovered << " hover image " << hasHover;
}

INSTANTIATE_TEST_SUITE_P(Roles, ShownButtonImage,
    ::testing::Values(ImageCase { ButtonMode::Toggle, 1, false, true, false, 2 },
        ImageCase { ButtonMode::Toggle, 1, true, false, false, 2 },
        ImageCase { ButtonMode::Toggle, 0, true, true, true, 1 },
        ImageCase { ButtonMode::Toggle, 5, false, false, false, 2 },
        ImageCase { ButtonMode::Push, 0, false, true, false, 1 },
        ImageCase { ButtonMode::Push, 0, false, true, true, 3 },
        ImageCase { ButtonMode::Push, 0, true, true, true, 2 },
        ImageCase { ButtonMode::Push, 1, false, false, false, 1 }));

TEST(ButtonSize, SizeModesFollowTheFirstImage)
{
    const PixelSize current { 80, 24 }, image { 36, 26 };
    EXPECT_EQ(buttonSizeFor(0, current, image), current);
    EXPECT_EQ(buttonSizeFor(1, current, image), image);
    EXPECT_EQ(buttonSizeFor(2, current, image), (PixelSize { 18, 13 }));
    EXPECT_EQ(buttonSizeFor(1, current, {}), current) << "no image keeps the size";
}

TEST(WheelAccumulator, StartingOverOnReversalDiscardsThePartialTurn)
{
    WheelAccumulator wheel(WheelAccumulator::Reversal::StartsOver);
    EXPECT_EQ(wheel.add(90), 0);
    EXPECT_EQ(wheel.add(-90), 0);
    EXPECT_EQ(wheel.pending(), -90) << "the 90 up was discarded, not cancelled";
    EXPECT_EQ(wheel.add(-30), +1);
}

// --- wheel gestures ------------------------------------------------------------------

TEST(WheelGesture, AGestureKeepsWhatItStartedOverUntil300QuietMilliseconds)
{
    using Target = WheelGesture::Target;
    WheelGesture gesture;
    EXPECT_EQ(gesture.route(1000, false), Target::Page);
    EXPECT_EQ(gesture.route(1100, true), Target::Page) << "a selector came under the pointer";
    EXPECT_EQ(gesture.route(1399, true), Target::Page) << "still less than 300 ms apart";
    EXPECT_EQ(gesture.route(1699, true), Target::Selector) << "300 ms quiet: a new gesture";
    EXPECT_EQ(gesture.route(1750, false), Target::Selector) << "it keeps to the selector";
    EXPECT_EQ(gesture.route(2050, false), Target::Page);
}

} // namespace
} // namespace arx

#include "controls/CPeakMeterCtrl.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

using meter::Led;

// The microphone strip's meter: one band of 32 LEDs, range 32, grid on.
struct StripMeter {
    CPeakMeterCtrl meter;
    StripMeter()
    {
        meter.resize(192, 10);
        meter.setHorizontal(true);
        meter.setLedCount(32);
        meter.setGrid(true);
        meter.setBandCount(1);
    }
};

TEST(CPeakMeterCtrl, ValueFiveLightsFiveGreenLeds)
{
    CPeakMeterCtrl meter; // vertical
    meter.setLedCount(32);
    meter.setBandCount(1);
    meter.setBandValue(0, 5);
    for (int led = 0; led < 5; ++led)
        EXPECT_EQ(meter.ledState(0, led), Led::Low) << "LED " << led;
    for (int led = 5; led < 32; ++led)
        EXPECT_EQ(meter.ledState(0, led), Led::Unlit) << "LED " << led;
}

TEST(CPeakMeterCtrl, Value31LightsGreenYellowRedAndLeavesTheTopLedUnlit)
{
    StripMeter strip;
    strip.meter.setBandValue(0, 31);
    for (int led = 0; led <= 25; ++led)
        EXPECT_EQ(strip.meter.ledState(0, led), Led::Low) << "LED " << led;
    for (int led = 26; led <= 29; ++led)
        EXPECT_EQ(strip.meter.ledState(0, led), Led::Medium) << "LED " << led;
    EXPECT_EQ(strip.meter.ledState(0, 30), Led::High);
    EXPECT_EQ(strip.meter.ledState(0, 31), Led::Unlit);
}

TEST(CPeakMeterCtrl, EveryLedIsLitRightAfterSetBandCount)
{
    CPeakMeterCtrl meter;
    meter.setBandCount(3);
    for (int band = 0; band < 3; ++band) {
        EXPECT_EQ(meter.bandValue(band), 32) << "band " << band << " at full scale";
        EXPECT_EQ(meter.bandPeak(band), 32);
        for (int led = 0; led < 8; ++led)
            EXPECT_NE(meter.ledState(band, led), Led::Unlit) << "band " << band << " LED " << led;
    }
}

TEST(CPeakMeterCtrl, ValueForABandPastTheCountChangesNothing)
{
    StripMeter strip;
    strip.meter.setBandValue(0, 7);
    strip.meter.setBandValue(1, 20);
    strip.meter.setBandValue(-1, 20);
    EXPECT_EQ(strip.meter.bandCount(), 1);
    EXPECT_EQ(strip.meter.bandValue(0), 7);
}

TEST(CPeakMeterCtrl, PeakOnlyRises)
{
    CPeakMeterCtrl meter;
    meter.setZoneLimits(26, 30, 64);
    meter.setBandCount(1);
    EXPECT_EQ(meter.bandPeak(0), 64) << "full scale after setBandCount";
    meter.setBandValue(0, 70);
    EXPECT_EQ(meter.bandPeak(0), 70);
    meter.setBandValue(0, 10);
    EXPECT_EQ(meter.bandPeak(0), 70) << "a lower value leaves the peak";
    EXPECT_EQ(meter.bandValue(0), 10);
}

TEST(CPeakMeterCtrl, UnlitLedsAreDarkerWithTheGridOn)
{
    StripMeter strip;
    strip.meter.setBackgroundColour(QColor(100, 100, 100));
    strip.meter.setBandValue(0, 0);
    const QImage withGrid = strip.meter.grab().toImage();
    EXPECT_EQ(withGrid.pixelColor(3, 5), QColor(85, 85, 85)) << "background darkened by 15";
    EXPECT_EQ(withGrid.pixelColor(0, 5), QColor(100, 100, 100)) << "the gap keeps the background";
    strip.meter.setGrid(false);
    EXPECT_EQ(strip.meter.grab().toImage().pixelColor(3, 5), QColor(100, 100, 100));
    strip.meter.setBandValue(0, 32);
    EXPECT_EQ(strip.meter.grab().toImage().pixelColor(3, 5), QColor(0, 255, 0)) << "lit green";
}

} // namespace
} // namespace arx

// The equaliser dialog over the application's own socket against a simulated PXL2 unit: a
// dragged point and a turned knob arrive as '%T' frames whose settings are the record's and
// whose coefficients an independent evaluation of those settings confirms. Application on
// 127.0.60.1, room on 127.0.60.0/24.
#include "ComplexResponse.h"
#include "LoopbackRoom.h"

#include "controls/CSpinBtn.h"
#include "controls/ControlId.h"
#include "dsp/CMultiColorPlotCtrl.h"
#include "mic/CInputeqDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <cmath>
#include <complex>
#include <numbers>

namespace arx::e2e {
namespace {

constexpr const char *Subnet = "127.0.60";
constexpr double UnitRate = 48000.0;

std::vector<std::uint8_t> bytesOf(const std::string &hex)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t at = 0; at + 1 < hex.size(); at += 2) {
        while (at < hex.size() && hex[at] == ' ')
            ++at;
        bytes.push_back(std::uint8_t(std::stoi(hex.substr(at, 2), nullptr, 16)));
    }
    return bytes;
}

// A signed 24-bit word with 21 fraction bits, big-endian.
double fixed3_21(const std::vector<std::uint8_t> &frame, std::size_t at)
{
    std::int32_t word = (frame.at(at) << 16) | (frame.at(at + 1) << 8) | frame.at(at + 2);
    if (word & 0x800000)
        word -= 0x1000000;
    return word / double(1 << 21);
}

struct WireBand {
    int enabled, shape, frequency, q, gain;
    double b0, b1, b2, a1, a2;
};

// What a unit received as its last frame for `band` (1..5), read from the emulator.
WireBand receivedBand(arxsim::SimControl &control, int band)
{
    const std::string hex = control.unit(1).text("eqframe" + std::to_string(band));
    const std::vector<std::uint8_t> frame = bytesOf(hex);
    EXPECT_EQ(frame.size(), 27u) << hex;
    EXPECT_EQ(frame.at(0), '%');
    EXPECT_EQ(frame.at(1), 'T');
    EXPECT_EQ(frame.at(2), band - 1);
    EXPECT_EQ(frame.at(26), '#');
    const auto word16 = [&](std::size_t at) { return (frame.at(at) << 8) | frame.at(at + 1); };
    // The denominator goes out negated, ahead of the numerator.
    return { frame.at(3), frame.at(4), word16(5), word16(7), word16(9), fixed3_21(frame, 17),
        fixed3_21(frame, 20), fixed3_21(frame, 23), -fixed3_21(frame, 11), -fixed3_21(frame, 14) };
}

double wireDb(const WireBand &band, double frequency)
{
    return test::complexMagnitudeDb(
        band.b0, band.b1, band.b2, band.a1, band.a2, frequency, UnitRate);
}

// The analog peaking band (s^2 + s V/Q + 1) / (s^2 + s/Q + 1), or its inverse for a cut, at
// the bilinear transform's frequency, with the Q the units take: a hundredth of the code.
double analogPeakingDb(double f0, int gainCode, int qCode, double f)
{
    const double Q = qCode / 100.0;
    const double V = std::pow(10.0, std::abs(gainCode - 300) / 200.0);
    const std::complex<double> s(0.0,
        std::tan(std::numbers::pi * f / UnitRate) / std::tan(std::numbers::pi * f0 / UnitRate));
    std::complex<double> h = (s * s + s * V / Q + 1.0) / (s * s + s / Q + 1.0);
    if (gainCode < 300)
        h = 1.0 / h;
    return 20 * std::log10(std::abs(h));
}

// The second-order Butterworth high-pass, prewarped the same way.
double analogLowCutDb(double fc, double f)
{
    const double ratio
        = std::tan(std::numbers::pi * f / UnitRate) / std::tan(std::numbers::pi * fc / UnitRate);
    return 10 * std::log10(std::pow(ratio, 4) / (1 + std::pow(ratio, 4)));
}

void mouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons,
        Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class EqualiserOnTheWire : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(room.searchAndSettle(1));
        ASSERT_EQ(room.store.unitTable[0].type, UnitTypePxl2);
        ASSERT_TRUE(room.store.unitTable[0].inUse);
        room.control.clear();
        dialog = std::make_unique<CInputeqDlg>(room.store, room.transport, room.clock, 0);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->timerTick();
    }

    const MicEqBand &recordBand(int band) const
    {
        return room.store.unitTable[0].eqBands[band - 1];
    }

    void expectBandOnTheWire(int band)
    {
        const MicEqBand &settings = recordBand(band);
        const WireBand wire = receivedBand(room.control, band);
        EXPECT_EQ(wire.frequency, settings.frequency) << "band " << band;
        EXPECT_EQ(wire.gain, settings.gain) << "band " << band;
        EXPECT_EQ(wire.q, settings.q * 10) << "band " << band << ": Q x 100";
        EXPECT_EQ(wire.shape, settings.shape) << "band " << band;
        // 21 fraction bits hold the coefficients to 5e-7, far below 0.01 dB.
        for (const double f : { 30.0, 0.5 * settings.frequency, double(settings.frequency),
                 1.7 * settings.frequency, 15000.0 })
            EXPECT_NEAR(wireDb(wire, f),
                analogPeakingDb(settings.frequency, settings.gain, settings.q, f), 0.01)
                << "band " << band << " at " << f << " Hz";
        EXPECT_NEAR(wireDb(wire, settings.frequency), (settings.gain - 300) / 10.0, 0.01)
            << "the band's gain at its centre";
    }

    LoopbackRoom room { Subnet, { "--units", "3,", "--level-rate", "0" }, "e2e-equaliser.log" };
    std::unique_ptr<CInputeqDlg> dialog;
};

TEST_F(EqualiserOnTheWire, ADraggedPointArrivesWithTheCoefficientsOfItsSettings)
{
    CMultiColorPlotCtrl *plot = dialog->plot();
    const HandleRect handle = plot->handles().handles()[1].rect;
    const QPoint start(handle.centreX(), handle.centreY());
    const QPoint end = start + QPoint(90, -60);
    mouse(plot, QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(plot, QEvent::MouseMove, start + QPoint(40, -30), Qt::LeftButton);
    mouse(plot, QEvent::MouseMove, end, Qt::LeftButton);
    mouse(plot, QEvent::MouseButtonRelease, end, Qt::NoButton);

    ASSERT_GT(recordBand(2).frequency, 500) << "moved right";
    ASSERT_GT(recordBand(2).gain, 300) << "moved up";
    EXPECT_EQ(room.control.unitFrames(1).size(), 2u) << "press and release, nothing between";
    expectBandOnTheWire(2);
}

TEST_F(EqualiserOnTheWire, TurnedKnobsArriveAsTheirBands)
{
    const int gainBefore = recordBand(3).gain; // as the unit announced it
    CSpinBtn *gain = findControl<CSpinBtn>(dialog.get(), 1162); // band 3
    const QPoint right(gain->width() - 4, gain->height() / 2);
    for (int step = 0; step < 3; ++step)
        QTest::mouseClick(gain, Qt::LeftButton, {}, right);
    const int qBefore = recordBand(3).q; // as the unit announced it
    CSpinBtn *q = findControl<CSpinBtn>(dialog.get(), 1021);
    QTest::mouseClick(q, Qt::LeftButton, {}, QPoint(4, q->height() / 2));
    ASSERT_EQ(recordBand(3).gain, gainBefore + 3);
    ASSERT_EQ(recordBand(3).q, qBefore - 1) << "one step down";
    expectBandOnTheWire(3);

    CSpinBtn *lowCut = findControl<CSpinBtn>(dialog.get(), 1017);
    lowCut->setValue(119);
    QTest::mouseClick(
        lowCut, Qt::LeftButton, {}, QPoint(lowCut->width() - 4, lowCut->height() / 2));
    ASSERT_EQ(room.store.unitTable[0].eqLowCutFrequency, 120);
    const WireBand wire = receivedBand(room.control, 5);
    EXPECT_EQ(wire.frequency, 120);
    for (const double f : { 40.0, 120.0, 480.0 })
        EXPECT_NEAR(wireDb(wire, f), analogLowCutDb(120, f), 0.01) << f << " Hz";
}

} // namespace
} // namespace arx::e2e

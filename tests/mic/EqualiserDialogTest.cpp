#include "RecordingLink.h"

#include "controls/CBitmapSlider.h"
#include "controls/CSpinBtn.h"
#include "controls/CStaticST.h"
#include "controls/ControlId.h"
#include "controls/PngButton.h"
#include "dsp/CMultiColorPlotCtrl.h"
#include "mic/CInputeqDlg.h"
#include "model/Store.h"
#include "seams/Clock.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

namespace arx {
namespace {

constexpr int Slot = 0;

void mouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons = Qt::LeftButton)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons,
        Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void wheel(QWidget *widget, QPoint at, int delta)
{
    QWheelEvent event(QPointF(at), widget->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

class EqualiserDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaults(store);
        DeviceRecord &r = record();
        setText(r.ip, "127.0.60.10");
        r.type = UnitTypePxl2;
        r.inUse = 1;
        r.eqLowCutOn = 0;
        for (MicEqBand &band : r.eqBands) {
            band.q = 20;
            band.enabled = 1;
        }
        dialog = std::make_unique<CInputeqDlg>(store, link, clock, Slot);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->timerTick(); // the first tick loads the record
        link.clear();
    }

    DeviceRecord &record() { return store.unitTable[Slot]; }
    CMultiColorPlotCtrl *plot() const { return dialog->plot(); }
    template <class Control> Control *control(int id) const
    {
        return findControl<Control>(dialog.get(), id);
    }
    QPoint handleCentre(int index) const
    {
        const HandleRect &rect = plot()->handles().handles().at(std::size_t(index)).rect;
        return { rect.centreX(), rect.centreY() };
    }
    void tickAfter(int milliseconds)
    {
        clock.advance(milliseconds);
        dialog->timerTick();
    }
    int bandFramesSent(int band) const
    {
        int count = 0;
        for (const auto &frame : link.frames)
            count += frame.at(1) == 'T' && frame.at(2) == band - 1;
        return count;
    }

    Store store;
    test::RecordingLink link;
    ManualClock clock;
    std::unique_ptr<CInputeqDlg> dialog;
};

TEST_F(EqualiserDialog, HasItsCaptionSizeAndEveryControl)
{
    EXPECT_EQ(dialog->windowTitle(), "EQ");
    EXPECT_EQ(dialog->size(), QSize(900, 500));
    for (const EqControl &eq : eqControls()) {
        if (eq.slider)
            EXPECT_NE(control<CBitmapSlider>(eq.id), nullptr) << "slider " << eq.id;
        else
            EXPECT_NE(control<CSpinBtn>(eq.id), nullptr) << "knob " << eq.id;
    }
    EXPECT_NE(control<CMultiColorPlotCtrl>(1152), nullptr);
    EXPECT_NE(control<PngButton>(1156), nullptr);
    EXPECT_NE(control<PngButton>(1157), nullptr);
    for (int id = 1088; id <= 1092; ++id)
        EXPECT_NE(control<QFrame>(id), nullptr) << "band frame " << id;
    const std::pair<int, const char *> titles[]
        = { { 1158, "Band" }, { 1153, "GAIN" }, { 1154, "FREQUENCY" }, { 1155, "Q" }, { 1093, "1" },
              { 1099, "2" }, { 1103, "3" }, { 1107, "4" }, { 1112, "LOW CUT" } };
    for (const auto &[id, text] : titles)
        EXPECT_EQ(control<CStaticST>(id)->text(), text) << id;
}

TEST_F(EqualiserDialog, KnobsShowTheRecordInTheirFormats)
{
    EXPECT_EQ(control<CSpinBtn>(1016)->text(), "Q:2.0");
    EXPECT_EQ(control<CSpinBtn>(1160)->text(), "G:0.0");
    EXPECT_EQ(control<CSpinBtn>(1160)->value(), 150);
    EXPECT_EQ(control<CBitmapSlider>(1096)->position(), 150) << "the gain slider at 0 dB";
    EXPECT_EQ(control<CSpinBtn>(1020)->text(), "2000Hz");
    EXPECT_EQ(control<CBitmapSlider>(1097)->position(), 100) << "100 Hz";
}

TEST_F(EqualiserDialog, LaysOutColumnsWithEachThinSliderUnderItsKnob)
{
    EXPECT_EQ(plot()->geometry(), QRect(20, 50, 860, 220));
    const int x1 = 900 * 1 / 7;
    EXPECT_EQ(control<CSpinBtn>(1160)->pos(), QPoint(x1 - 5, 320));
    EXPECT_EQ(control<CBitmapSlider>(1096)->geometry(), QRect(x1 - 5, 342, 91, 16));
    EXPECT_EQ(control<CBitmapSlider>(1110)->geometry(), QRect(900 * 4 / 7 - 5, 422, 91, 16));
    EXPECT_EQ(
        control<QFrame>(1088)->geometry(), QRect(x1 - 15, 280, 900 * 2 / 7 - 25 - (x1 - 15), 170));
    EXPECT_EQ(control<PngButton>(1156)->pos(), QPoint(900 * 5 / 7, 320));
    EXPECT_EQ(control<CSpinBtn>(1017)->pos(), QPoint(900 * 5 / 7 - 5, 360));
    EXPECT_EQ(control<PngButton>(1157)->pos(), QPoint(900 * 5 / 7, 400));

    dialog->resize(1200, 500);
    EXPECT_EQ(plot()->geometry(), QRect(20, 50, 1160, 220)) << "wider, same height";
    EXPECT_EQ(control<CSpinBtn>(1163)->pos(), QPoint(1200 * 4 / 7 - 5, 320));
}

TEST_F(EqualiserDialog, KnobAndSliderStayInStep)
{
    CSpinBtn *knob = control<CSpinBtn>(1018); // band 2 frequency
    const QPoint rightZone(knob->width() - 4, knob->height() / 2);
    QTest::mouseClick(knob, Qt::LeftButton, {}, rightZone);
    EXPECT_EQ(record().eqBands[1].frequency, 501);
    EXPECT_EQ(bandFramesSent(2), 1);

    CBitmapSlider *slider = control<CBitmapSlider>(1100); // band 2 gain
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(record().eqBands[1].gain, 301);
    EXPECT_EQ(control<CSpinBtn>(1161)->value(), 151) << "the knob follows the slider";
    EXPECT_EQ(bandFramesSent(2), 2);
}

TEST_F(EqualiserDialog, ADragBelowThePlotStopsAtMinus15dBAndSendsAtRelease)
{
    const QPoint start = handleCentre(0);
    mouse(plot(), QEvent::MouseButtonPress, start);
    link.clear();
    mouse(plot(), QEvent::MouseMove, start + QPoint(30, 100));
    mouse(plot(), QEvent::MouseMove, start + QPoint(40, 400));
    EXPECT_TRUE(plot()->isDragging());
    EXPECT_EQ(record().eqBands[0].gain, 150);
    EXPECT_EQ(control<CSpinBtn>(1160)->text(), "G:-15.0");
    EXPECT_EQ(control<CBitmapSlider>(1096)->position(), 0);
    EXPECT_TRUE(link.log.empty()) << "nothing while the point moves";
    const PlotArea &area = plot()->axes().area;
    EXPECT_EQ(handleCentre(0).y(), area.middle() + area.halfHeight()) << "drawn at -15 dB";

    mouse(plot(), QEvent::MouseButtonRelease, start + QPoint(40, 400), Qt::NoButton);
    EXPECT_FALSE(plot()->isDragging());
    EXPECT_EQ(bandFramesSent(1), 1);
    tickAfter(300);
    EXPECT_EQ(bandFramesSent(1), 1) << "and nothing later";
}

// Through the window, as the pointer really comes: the plot keeps the pointer while the button
// is held, so the drag goes on outside it, held at the edge, until the release.
TEST_F(EqualiserDialog, APointDraggedOutOfTheWindowStaysAtTheEdgeUntilTheRelease)
{
    QWindow *window = dialog->windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, plot()->mapTo(dialog.get(), handleCentre(1)));
    link.clear();
    const QPoint farOutside(-300, -400); // beyond the dialog's top left corner
    QTest::mouseMove(window, farOutside);
    EXPECT_TRUE(plot()->isDragging()) << "leaving the plot does not end the drag";
    const PlotArea &area = plot()->axes().area;
    EXPECT_EQ(handleCentre(1), QPoint(area.left, area.top)) << "drawn at 20 Hz, +15 dB";
    QTest::mouseRelease(window, Qt::LeftButton, {}, farOutside);
    EXPECT_EQ(record().eqBands[1].frequency, 20);
    EXPECT_EQ(record().eqBands[1].gain, 450);
    ASSERT_EQ(bandFramesSent(2), 1) << "once, at the release";
    const std::vector<std::uint8_t> &frame = link.frames.back();
    EXPECT_EQ(frame[5] << 8 | frame[6], 20) << "the unit gets the edge's frequency";
    EXPECT_EQ(frame[9] << 8 | frame[10], 450) << "and its gain";
}

TEST_F(EqualiserDialog, ARestingDragSendsOnTheTimerAndAgainAtRelease)
{
    const QPoint start = handleCentre(3);
    mouse(plot(), QEvent::MouseButtonPress, start);
    mouse(plot(), QEvent::MouseMove, start + QPoint(-20, -30));
    link.clear();
    tickAfter(100);
    tickAfter(100);
    EXPECT_EQ(bandFramesSent(4), 0);
    tickAfter(100);
    EXPECT_EQ(bandFramesSent(4), 1);
    mouse(plot(), QEvent::MouseButtonRelease, start + QPoint(-20, -30), Qt::NoButton);
    EXPECT_EQ(bandFramesSent(4), 2);
}

TEST_F(EqualiserDialog, ReadsOutTheDraggedBandNearItsPoint)
{
    const QPoint start = handleCentre(1);
    mouse(plot(), QEvent::MouseButtonPress, start);
    EXPECT_TRUE(plot()->readout().isEmpty()) << "a press is not a drag";
    mouse(plot(), QEvent::MouseMove, start + QPoint(0, -40));
    const DeviceRecord &r = record();
    const QString expected = QString::asprintf(
        "%d Hz  %+.1f dB  Q 2.0", r.eqBands[1].frequency, (r.eqBands[1].gain - 300) / 10.0);
    EXPECT_EQ(plot()->readout(), expected);
    mouse(plot(), QEvent::MouseButtonRelease, start + QPoint(0, -40), Qt::NoButton);
    EXPECT_TRUE(plot()->readout().isEmpty());
}

TEST_F(EqualiserDialog, AfterAResizeADraggedPointReportsWhereItIsDrawn)
{
    dialog->resize(1300, 500);
    dialog->timerTick();
    const QPoint start = handleCentre(2);
    mouse(plot(), QEvent::MouseButtonPress, start);
    mouse(plot(), QEvent::MouseMove, start + QPoint(120, -45));
    mouse(plot(), QEvent::MouseButtonRelease, start + QPoint(120, -45), Qt::NoButton);
    const QPoint drawn = handleCentre(2);
    const HandleValues there = handleValuesAt(plot()->axes(), drawn.x(), drawn.y());
    EXPECT_NEAR(record().eqBands[2].frequency, there.frequency, there.frequency * 0.005 + 1);
    EXPECT_NEAR((record().eqBands[2].gain - 300) / 10.0, there.gain, 0.2);
    EXPECT_EQ(drawn, start + QPoint(120, -45)) << "the handle stays under the pointer";
}

TEST_F(EqualiserDialog, TheWheelOverTheSelectedHandleStepsItsQ)
{
    const QPoint point = handleCentre(0);
    mouse(plot(), QEvent::MouseButtonPress, point);
    mouse(plot(), QEvent::MouseButtonRelease, point, Qt::NoButton);
    link.clear();
    wheel(plot(), point, 120);
    wheel(plot(), point, 120);
    EXPECT_EQ(record().eqBands[0].q, 22);
    EXPECT_EQ(control<CSpinBtn>(1016)->text(), "Q:2.2");
    EXPECT_EQ(control<CBitmapSlider>(1098)->position(), 21);
    EXPECT_TRUE(link.log.empty());
    tickAfter(300);
    EXPECT_EQ(bandFramesSent(1), 1);

    wheel(plot(), handleCentre(1), 120);
    EXPECT_EQ(record().eqBands[1].q, 20) << "band 2's handle is not selected";
}

TEST_F(EqualiserDialog, ClosingWithinTheRestSendsTheWheeledQ)
{
    const QPoint point = handleCentre(0);
    mouse(plot(), QEvent::MouseButtonPress, point);
    mouse(plot(), QEvent::MouseButtonRelease, point, Qt::NoButton);
    link.clear();
    wheel(plot(), point, 120);
    tickAfter(100);
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(bandFramesSent(1), 1);
    EXPECT_EQ(link.frames.back()[8], 21 * 10 % 256) << "Q 2.1 went out";
}

TEST_F(EqualiserDialog, DoubleClicksWithoutAHandleOrOnASliderSendNothing)
{
    QSignalSpy resets(plot(), &CMultiColorPlotCtrl::pointReset);
    const QPoint empty(plot()->width() / 2, plot()->height() - 5);
    mouse(plot(), QEvent::MouseButtonPress, empty);
    mouse(plot(), QEvent::MouseButtonRelease, empty, Qt::NoButton);
    mouse(plot(), QEvent::MouseButtonDblClick, empty);
    EXPECT_EQ(resets.count(), 0);
    emit control<CBitmapSlider>(1096)->sliderDoubleClicked(1096, 150);
    EXPECT_TRUE(link.log.empty());
}

TEST_F(EqualiserDialog, ADoubleClickOnAPointPutsItsBandAtZeroDb)
{
    record().eqBands[1].gain = 420;
    dialog->timerTick();
    dialog->resize(901, 500); // a reload is due
    dialog->timerTick();
    const QPoint point = handleCentre(1);
    mouse(plot(), QEvent::MouseButtonPress, point);
    mouse(plot(), QEvent::MouseButtonRelease, point, Qt::NoButton);
    link.clear();
    mouse(plot(), QEvent::MouseButtonDblClick, point);
    EXPECT_EQ(record().eqBands[1].gain, 300);
    EXPECT_EQ(bandFramesSent(2), 1);
    EXPECT_EQ(handleCentre(1).y(), plot()->axes().area.middle());
}

TEST_F(EqualiserDialog, KeysStayWithThePlotWhileItHasTheFocus)
{
    plot()->setFocus();
    QTest::keyClick(plot(), Qt::Key_Escape);
    QTest::keyClick(plot(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
}

TEST_F(EqualiserDialog, TheLowCutSwitchAndResetShowTheRecord)
{
    QTest::mouseClick(control<PngButton>(1156), Qt::LeftButton);
    EXPECT_EQ(record().eqLowCutOn, 1);
    EXPECT_EQ(control<PngButton>(1156)->state(), 1);
    EXPECT_EQ(plot()->band(4).enabled, 1) << "the plot draws the low cut";

    record().inUse = 0;
    link.clear();
    record().eqBands[3].gain = 180;
    record().eqBands[3].frequency = 7000;
    dialog->timerTick();
    QTest::mouseClick(control<PngButton>(1157), Qt::LeftButton);
    EXPECT_TRUE(link.log.empty()) << "offline: nothing is sent";
    EXPECT_EQ(control<PngButton>(1156)->state(), 0);
    EXPECT_EQ(control<CSpinBtn>(1163)->value(), 150);
    EXPECT_EQ(control<CSpinBtn>(1022)->value(), 5000);
    EXPECT_EQ(plot()->handleGain(3), 0);
    EXPECT_EQ(plot()->handleFrequency(3), 5000);
    EXPECT_EQ(plot()->band(4).enabled, 0);
}

} // namespace
} // namespace arx

// The microphone page: where its strips are placed, its scrolling, and the wheel gestures
// that must never change a unit by accident.
#include "mic/CMicDlg.h"

#include "controls/CComBoxBtn.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/ControlId.h"
#include "controls/PngButton.h"

#include "RecordingLink.h"
#include "ScriptedPrompts.h"
#include "TestRoom.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace arx {
namespace {

// A page of the main window's size on recording seams, with online units in some slots.
struct MicPage : test::TestRoom {
    CMicDlg page { room, prompts };

    explicit MicPage(int height = 600)
    {
        page.resize(960, height);
        page.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    DeviceRecord &addUnit(int slot, std::int32_t type)
    {
        DeviceRecord &unit = store->unitTable[static_cast<std::size_t>(slot)];
        unit.type = type;
        unit.inUse = 1;
        setText(unit.name, "Seat " + std::to_string(slot + 1));
        setText(unit.ip, "127.0.50." + std::to_string(10 + slot));
        return unit;
    }
    CInputDlg *show(int slot, std::int32_t type = UnitTypeArn1)
    {
        addUnit(slot, type);
        page.ShowStrip(slot);
        return page.strip(slot);
    }
    QScrollBar *bar() { return page.verticalScrollBar(); }
    void wheel(QWidget *target, int delta)
    {
        const QPointF at = QRectF(target->rect()).center();
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(target, &event);
    }
};

TEST(CMicDlg, ShowsStripsOfTheSlotsItIsAskedFor)
{
    MicPage fixture;
    EXPECT_TRUE(fixture.page.shownStrips().empty()) << "every strip starts hidden";
    fixture.show(5);
    fixture.show(0);
    fixture.show(63);
    EXPECT_EQ(fixture.page.shownStrips(), (std::vector<int> { 0, 5, 63 }));
    EXPECT_EQ(fixture.page.strip(63)->slotIndex(), 64);
    fixture.page.hideStrip(5);
    EXPECT_FALSE(fixture.page.isStripShown(5));
    EXPECT_EQ(fixture.page.shownStrips(), (std::vector<int> { 0, 63 }));

    for (int slot : { -1, 64, 1000 }) {
        fixture.page.ShowStrip(slot);
        fixture.page.hideStrip(slot);
        fixture.page.refreshStrip(slot);
        fixture.page.updateMeter(slot);
        EXPECT_FALSE(fixture.page.isStripShown(slot)) << slot;
    }
}

TEST(CMicDlg, PlacesStripsEightyPixelsApartAndUnit64At5050)
{
    MicPage fixture;
    const int width = fixture.page.clientWidth();
    EXPECT_EQ(width, 960 - fixture.bar()->width()) << "the bar takes the right edge";
    EXPECT_EQ(fixture.show(0)->geometry(), QRect(5, 10, width - 10, 80));
    EXPECT_EQ(fixture.show(63)->geometry(), QRect(5, 5050, width - 10, 80));
}

TEST(CMicDlg, ShowingAShownStripMovesNothingAndOnlyListsItsCopySourcesAgain)
{
    MicPage fixture;
    CInputDlg *strip = fixture.show(3);
    strip->move(5, 123);
    EXPECT_TRUE(strip->copyEntries().empty());
    fixture.addUnit(7, UnitTypeArn1);
    fixture.page.ShowStrip(3);
    EXPECT_EQ(strip->pos(), QPoint(5, 123));
    ASSERT_EQ(strip->copyEntries().size(), 1u);
    EXPECT_EQ(strip->copyEntries()[0].slot, 7);
}

TEST(CMicDlg, AStripShownFirstWhileScrolledLandsAtItsSlot)
{
    MicPage fixture;
    CInputDlg *first = fixture.show(0);
    fixture.bar()->setValue(201);
    ASSERT_EQ(first->y(), 10 - 200);
    CInputDlg *later = fixture.show(1);
    EXPECT_EQ(later->y(), 90 - 200) << "right under strip 1, never on top of it";
    fixture.bar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(first->y(), 10);
    EXPECT_EQ(later->y(), 90);
}

TEST(CMicDlg, ScrollRangeIsTenClientHeights)
{
    for (int height : { 300, 513, 638 }) {
        MicPage fixture(height);
        EXPECT_EQ(fixture.bar()->minimum(), 1) << height;
        EXPECT_EQ(fixture.bar()->pageStep(), height) << height;
        EXPECT_EQ(fixture.bar()->maximum() - fixture.bar()->minimum(), 9 * height)
            << "the contents scroll by at most nine client heights";
        EXPECT_EQ(fixture.bar()->value(), 1);
    }
}

TEST(CMicDlg, ScrollingMovesTheStripsByTheChange)
{
    MicPage fixture(600);
    CInputDlg *strip = fixture.show(0);
    QScrollBar *bar = fixture.bar();

    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(strip->y(), 10) << "line up at the top changes nothing";
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(strip->y(), 9) << "line down: one pixel";
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(strip->y(), 9 - 600) << "page down: one client height";
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(strip->y(), 10 - 9 * 600) << "bottom";
    EXPECT_EQ(fixture.page.scrollPos(), 9 * 600 + 1);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(strip->y(), 10 - 9 * 600) << "line down at the bottom changes nothing";
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(strip->y(), 10) << "top again";
}

TEST(CMicDlg, ResizingWhileScrolledLeavesTheStripsUntilTheNextScroll)
{
    MicPage fixture(600);
    CInputDlg *strip = fixture.show(2);
    fixture.bar()->setValue(201);
    ASSERT_EQ(strip->y(), 170 - 200);

    fixture.page.resize(960, 500);
    EXPECT_EQ(fixture.bar()->value(), 1) << "the bar starts over";
    EXPECT_EQ(strip->y(), 170 - 200) << "the strips stay";
    EXPECT_EQ(fixture.page.scrollPos(), 201);

    fixture.bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(strip->y(), 170 - 1) << "back in step with the bar";
}

TEST(CMicDlg, RefreshAndMeterReachOnlyShownStrips)
{
    MicPage fixture;
    CInputDlg *shown = fixture.show(0);
    DeviceRecord &hiddenUnit = fixture.addUnit(1, UnitTypeArn1);
    hiddenUnit.micMute = 1;
    fixture.page.refreshStrip(1);
    fixture.page.hideStrip(1);
    auto *hiddenMute = findControl<PngButton>(fixture.page.strip(1), 1123);
    EXPECT_EQ(hiddenMute->state(), 0) << "a strip never shown is not refreshed";

    fixture.store->unitTable[0].micMute = 1;
    fixture.page.refreshStrip(0);
    EXPECT_EQ(findControl<PngButton>(shown, 1123)->state(), 1);
    fixture.store->unitTable[0].level = 9;
    fixture.page.updateMeter(0);
    EXPECT_EQ(findControl<CPeakMeterCtrl>(shown, 1137)->bandValue(0), 18) << "twice the level";
}

TEST(CMicDlg, WheelNotchScrollsOneStrip)
{
    MicPage fixture(600);
    CInputDlg *strip = fixture.show(0);
    fixture.wheel(&fixture.page, -120);
    EXPECT_EQ(strip->y(), 10 - 80);
    fixture.wheel(&fixture.page, 60);
    EXPECT_EQ(strip->y(), 10 - 80) << "half a notch waits";
    fixture.wheel(&fixture.page, 60);
    EXPECT_EQ(strip->y(), 10) << "two halves make a notch";
}

TEST(CMicDlg, AWheelGestureThatScrollsThePagePastASelectorChangesNoUnit)
{
    MicPage fixture(600);
    CInputDlg *strip = fixture.show(0, UnitTypePxl2);
    auto *gain = findControl<CComBoxBtn>(strip, 1128);
    fixture.link.clear();

    fixture.wheel(&fixture.page, -120);
    fixture.clock.advance(100);
    fixture.wheel(gain, -120); // the selector came under the pointer
    fixture.clock.advance(299);
    fixture.wheel(gain, 120);
    EXPECT_EQ(fixture.store->unitTable[0].gain, 0);
    EXPECT_EQ(gain->currentIndex(), 0);
    EXPECT_TRUE(fixture.link.log.empty()) << "nothing sent";
    EXPECT_EQ(strip->y(), 10 - 80) << "the page scrolled down two strips and up one";

    fixture.clock.advance(300);
    fixture.wheel(gain, -120); // a new gesture, started over the selector
    EXPECT_EQ(gain->currentIndex(), 1);
    EXPECT_EQ(fixture.store->unitTable[0].gain, 3) << "PXL2 stores decibels";
    EXPECT_EQ(fixture.link.frames.size(), 2u) << "'%A' twice";
    fixture.clock.advance(50);
    fixture.wheel(&fixture.page, -120);
    EXPECT_EQ(strip->y(), 10 - 80) << "that gesture does not scroll the page";
}

} // namespace
} // namespace arx

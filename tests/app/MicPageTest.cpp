// The microphone page: which strips it shows, and its scrolling.
#include "mic/CMicDlg.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

namespace arx {
namespace {

// A page of the main window's size, with a stand-in for a strip to watch the scrolling.
struct ScrollingPage {
    CMicDlg page;
    QWidget *content = new QWidget(&page);

    explicit ScrollingPage(int height = 600)
    {
        page.resize(960, height);
        content->setGeometry(5, 10, 100, 80);
        page.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    QScrollBar *bar() { return page.verticalScrollBar(); }
    int contentTop() const { return content->y(); }
};

TEST(CMicDlg, KeepsWhichStripsItWasAskedToShow)
{
    CMicDlg page;
    page.ShowStrip(5);
    page.ShowStrip(0);
    page.ShowStrip(5); // again: still once
    page.ShowStrip(63);
    EXPECT_EQ(page.shownStrips(), (std::vector<int> { 0, 5, 63 }));
    page.hideStrip(5);
    EXPECT_FALSE(page.isStripShown(5));
    EXPECT_EQ(page.shownStrips(), (std::vector<int> { 0, 63 }));
}

TEST(CMicDlg, IgnoresSlotsOutsideTheTable)
{
    CMicDlg page;
    for (int slot : { -1, 64, 1000 }) {
        page.ShowStrip(slot);
        page.hideStrip(slot);
        page.refreshStrip(slot);
        EXPECT_FALSE(page.isStripShown(slot)) << slot;
    }
    EXPECT_TRUE(page.shownStrips().empty());
}

TEST(CMicDlg, StripsStackEightyPixelsApart)
{
    ScrollingPage fixture;
    const int width = fixture.page.clientWidth();
    EXPECT_EQ(width, 960 - fixture.bar()->width()) << "the bar takes the right edge";
    EXPECT_EQ(fixture.page.stripGeometry(0), QRect(5, 10, width - 10, 80));
    EXPECT_EQ(fixture.page.stripGeometry(63).top(), 5050);
}

TEST(CMicDlg, ScrollRangeIsTenClientHeights)
{
    for (int height : { 300, 513, 638 }) {
        ScrollingPage fixture(height);
        EXPECT_EQ(fixture.bar()->minimum(), 1) << height;
        EXPECT_EQ(fixture.bar()->pageStep(), height) << height;
        EXPECT_EQ(fixture.bar()->maximum() - fixture.bar()->minimum(), 9 * height)
            << "the contents scroll by at most nine client heights";
        EXPECT_EQ(fixture.bar()->value(), 1);
    }
}

TEST(CMicDlg, ScrollingMovesTheContentsByTheChange)
{
    ScrollingPage fixture(600);
    QScrollBar *bar = fixture.bar();

    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(fixture.contentTop(), 10) << "line up at the top changes nothing";
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(fixture.contentTop(), 9) << "line down: one pixel";
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(fixture.contentTop(), 9 - 600) << "page down: one client height";
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(fixture.contentTop(), 10 - 9 * 600) << "bottom";
    EXPECT_EQ(fixture.page.scrollPos(), 9 * 600 + 1);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(fixture.contentTop(), 10 - 9 * 600) << "line down at the bottom changes nothing";
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(fixture.contentTop(), 10) << "top again";
    EXPECT_EQ(bar->geometry().topLeft(), QPoint(960 - bar->width(), 0)) << "the bar stays put";
}

TEST(CMicDlg, ResizingWhileScrolledLeavesTheContentsUntilTheNextScroll)
{
    ScrollingPage fixture(600);
    fixture.bar()->setValue(201);
    ASSERT_EQ(fixture.contentTop(), 10 - 200);

    fixture.page.resize(960, 500);
    EXPECT_EQ(fixture.bar()->value(), 1) << "the bar starts over";
    EXPECT_EQ(fixture.contentTop(), 10 - 200) << "the contents stay";
    EXPECT_EQ(fixture.page.scrollPos(), 201);

    fixture.bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(fixture.contentTop(), 10 - 1) << "back in step with the bar";
}

TEST(CMicDlg, WheelNotchScrollsOneStrip)
{
    ScrollingPage fixture(600);
    const QPointF at(300, 300);
    QWheelEvent down(at, fixture.page.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&fixture.page, &down);
    EXPECT_EQ(fixture.contentTop(), 10 - 80);

    QWheelEvent half(at, fixture.page.mapToGlobal(at), QPoint(), QPoint(0, 60), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&fixture.page, &half);
    EXPECT_EQ(fixture.contentTop(), 10 - 80) << "half a notch waits";
    QCoreApplication::sendEvent(&fixture.page, &half);
    EXPECT_EQ(fixture.contentTop(), 10) << "two halves make a notch";
}

} // namespace
} // namespace arx

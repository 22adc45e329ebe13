// The routing page: its cross-points found and clicked by id, its labels, its two bars.
#include "controls/CStaticST.h"
#include "controls/ControlId.h"
#include "routing/CMatrixDlg.h"
#include "routing/CrossPointGrid.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace arx {
namespace {

struct Page {
    CMatrixDlg page;

    explicit Page(QSize size = { 960, 638 })
    {
        page.resize(size);
        page.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    QRect box(int id)
    {
        const std::optional<CrossPoint> point = findCrossPoint(&page, id);
        EXPECT_TRUE(point) << "cross-point " << id;
        return point ? point->geometry() : QRect();
    }
};

// Where ink (non-black pixels) lies in an image, or an empty rectangle.
QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) > 60)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

TEST(RoutingPage, CrossPointsKeepTheirIdsAndBoxesAtTheGridsCorners)
{
    Page fixture;
    EXPECT_EQ(fixture.box(10001), QRect(200, 200, 16, 16));
    EXPECT_EQ(fixture.box(10064), QRect(1460, 200, 16, 16));
    EXPECT_EQ(fixture.box(16081), QRect(200, 2100, 16, 16));
    EXPECT_EQ(fixture.box(16144), QRect(1460, 2100, 16, 16));
    EXPECT_FALSE(findCrossPoint(&fixture.page, 10000));
    EXPECT_FALSE(findCrossPoint(&fixture.page, 16145));
}

TEST(RoutingPage, LabelsNameEveryRowAndColumn)
{
    Page fixture;
    struct Label {
        int id;
        const char *text;
    };
    for (const Label &label : { Label { 1144, "Name 1" }, Label { 1239, "Name 96" },
             Label { 1240, "Name 1" }, Label { 1303, "Name 64" } }) {
        auto *found = findControl<CStaticST>(&fixture.page, label.id);
        ASSERT_NE(found, nullptr) << "label " << label.id;
        EXPECT_EQ(found->text(), QString::fromLatin1(label.text));
    }
    EXPECT_EQ(findControl(&fixture.page, 1304), nullptr);

    // A row label reads across, a column label down, each ending next to the grid.
    const QImage row = findControl(&fixture.page, 1144)->grab().toImage();
    const QRect rowInk = inkBounds(row);
    ASSERT_FALSE(rowInk.isEmpty());
    EXPECT_GT(rowInk.width(), 2 * rowInk.height());
    EXPECT_GE(rowInk.right(), row.width() - 3) << "far: against the grid";

    const QImage column = findControl(&fixture.page, 1240)->grab().toImage();
    const QRect columnInk = inkBounds(column);
    ASSERT_FALSE(columnInk.isEmpty());
    EXPECT_GT(columnInk.height(), 2 * columnInk.width());
    EXPECT_GE(columnInk.bottom(), column.height() - 3) << "far: against the grid";
}

TEST(RoutingPage, AClickOnACrossPointReportsItsIdAndChangesNothingOnScreen)
{
    Page fixture;
    CrossPointGrid *grid = fixture.page.grid();
    QSignalSpy commands(grid, &CrossPointGrid::commanded);
    const QImage before = fixture.page.grab().toImage();

    for (int id : { 10001, 10066, 11025, 11026 }) {
        const std::optional<CrossPoint> point = findCrossPoint(&fixture.page, id);
        ASSERT_TRUE(point);
        QTest::mouseClick(point->grid, Qt::LeftButton, {}, point->centre());
        EXPECT_EQ(grid->shownImage(id), 1) << "still the empty box";
    }
    ASSERT_EQ(commands.count(), 4);
    EXPECT_EQ(commands[0][0].toInt(), 10001);
    EXPECT_EQ(commands[3][0].toInt(), 11026);
    EXPECT_EQ(fixture.page.grab().toImage(), before);

    // Between boxes there is nothing to click.
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(17, 17));
    EXPECT_EQ(commands.count(), 4);
}

TEST(RoutingPage, BarsSpanThreeClientsAndFollowTheLinePageTopAndBottomRules)
{
    Page fixture;
    const QSize client = fixture.page.clientSize();
    QScrollBar *vertical = fixture.page.verticalScrollBar();
    QScrollBar *horizontal = fixture.page.horizontalScrollBar();
    EXPECT_EQ(vertical->minimum(), 1);
    EXPECT_EQ(vertical->maximum(), 2 * client.height() + 1);
    EXPECT_EQ(vertical->pageStep(), client.height());
    EXPECT_EQ(horizontal->maximum(), 2 * client.width() + 1);
    EXPECT_EQ(horizontal->pageStep(), client.width());

    struct Step {
        QAbstractSlider::SliderAction action;
        int top; // of cross-point 10001 afterwards
    };
    const int h = client.height();
    const Step steps[] = {
        { QAbstractSlider::SliderSingleStepSub, 200 }, // at the top: no change
        { QAbstractSlider::SliderSingleStepAdd, 199 },
        { QAbstractSlider::SliderPageStepAdd, 199 - h },
        { QAbstractSlider::SliderToMaximum, 200 - 2 * h },
        { QAbstractSlider::SliderSingleStepAdd, 200 - 2 * h }, // at the bottom: no change
        { QAbstractSlider::SliderPageStepSub, 200 - h },
        { QAbstractSlider::SliderToMinimum, 200 },
    };
    for (const Step &step : steps) {
        vertical->triggerAction(step.action);
        EXPECT_EQ(fixture.box(10001).topLeft(), QPoint(200, step.top))
            << "after action " << step.action;
        EXPECT_EQ(fixture.page.verticalScrollPos(), vertical->value());
    }

    horizontal->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(fixture.box(10001).topLeft(), QPoint(200 - 2 * client.width(), 200));
    EXPECT_EQ(findControl(&fixture.page, 1240)->x(), 200 - 2 * client.width())
        << "the labels scroll with the grid";

    // Dragging the thumb moves the contents as it goes.
    horizontal->setSliderDown(true);
    horizontal->setSliderPosition(51);
    EXPECT_EQ(fixture.box(10001).topLeft(), QPoint(150, 200));
    horizontal->setSliderDown(false);
}

TEST(RoutingPage, TheLastRowComesIntoViewOnlyWhenThreeClientsCoverTheGrid)
{
    for (const int clientHeight : { 705, 706 }) {
        SCOPED_TRACE(clientHeight);
        Page fixture;
        const int barHeight = fixture.page.height() - fixture.page.clientSize().height();
        fixture.page.resize(960, clientHeight + barHeight);
        ASSERT_EQ(fixture.page.clientSize().height(), clientHeight);
        fixture.page.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        const QRect last = fixture.box(16144);
        EXPECT_EQ(last.bottom() + 1 <= clientHeight, clientHeight >= 706)
            << "bottom edge at " << last.bottom() + 1;
    }
}

TEST(RoutingPage, AResizeWhileScrolledReturnsTheGridToItsUnscrolledPlace)
{
    Page fixture;
    fixture.page.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    fixture.page.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ASSERT_NE(fixture.box(10001).topLeft(), QPoint(200, 200));

    for (const QSize size : { QSize(900, 600), QSize(900, 600) + QSize(1, 1) }) {
        fixture.page.resize(size);
        EXPECT_EQ(fixture.box(10001), QRect(200, 200, 16, 16)) << "not one pixel off";
        EXPECT_EQ(findControl(&fixture.page, 1144)->y(), 200);
        EXPECT_EQ(fixture.page.verticalScrollBar()->value(), 1);
        EXPECT_EQ(fixture.page.horizontalScrollBar()->value(), 1);
        EXPECT_EQ(fixture.page.verticalScrollPos(), 1);
        EXPECT_EQ(fixture.page.horizontalScrollPos(), 1);
    }

    // The bar is in step: one line down moves the grid one pixel.
    fixture.page.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(fixture.box(10001).topLeft(), QPoint(200, 199));
}

} // namespace
} // namespace arx

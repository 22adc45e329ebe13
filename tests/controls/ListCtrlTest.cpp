#include "controls/CHeaderCtrlCl.h"
#include "controls/CListCtrlCl.h"
#include "controls/ControlId.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace arx {
namespace {

// The main window's unit list, as it sets it up.
struct UnitList {
    QWidget window;
    CListCtrlCl *list = new CListCtrlCl(&window);

    UnitList()
    {
        window.resize(400, 300);
        list->setGeometry(0, 0, 400, 300);
        setControlId(list, 1005);
        list->setAlignmentString(QStringLiteral("1102"));
        list->setRowHeight(30);
        list->header()->setHeightFactor(1.3);
        list->insertColumn(0, QStringLiteral("S/N"), 40);
        list->insertColumn(1, QStringLiteral("Name"), 100);
        list->insertColumn(2, QStringLiteral("IP"), 100);
        list->insertColumn(3, QStringLiteral("Type"), 60);
        for (int row = 0; row < 3; ++row) {
            list->insertItem(row, QString::number(row + 1));
            list->setItemText(row, 1, QStringLiteral("MIC-%1").arg(row + 1));
        }
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

TEST(CHeaderCtrlCl, GradientTakesEightOffEveryLineUntilRedReachesZero)
{
    UnitList fixture;
    CHeaderCtrlCl *header = fixture.list->header();
    header->setHeightFactor(3.0); // tall enough for 30 lines
    ASSERT_GE(header->height(), 30);
    const QImage shot = header->grab().toImage();
    const int x = 20; // inside the first column

    EXPECT_EQ(shot.pixelColor(x, 0), QColor(171, 199, 235)) << "top line has the base colour";
    EXPECT_EQ(shot.pixelColor(x, 21).red(), 3) << "line 21";
    EXPECT_EQ(shot.pixelColor(x, 22).red(), 0) << "line 22";
    EXPECT_EQ(shot.pixelColor(x, 29).red(), 0) << "stays at 0";
    EXPECT_EQ(shot.pixelColor(x, 21).blue(), 235 - 8 * 21);
    EXPECT_EQ(shot.pixelColor(390, 21).red(), 3) << "the strip after the last column too";
}

TEST(CHeaderCtrlCl, HeightIsTheStyleHeightTimesTheFactor)
{
    CListCtrlCl list;
    const int plain = list.header()->sizeHint().height();
    list.header()->setHeightFactor(1.3);
    EXPECT_EQ(list.header()->sizeHint().height(), static_cast<int>(plain * 1.3));
}

TEST(CListCtrlCl, RowsHaveTheFixedHeight)
{
    UnitList fixture;
    for (int row = 0; row < fixture.list->rowCount(); ++row)
        EXPECT_EQ(fixture.list->rowHeight(row), 30) << "row " << row;
    fixture.list->insertItem(3, QStringLiteral("4"));
    EXPECT_EQ(fixture.list->rowHeight(3), 30) << "rows added later too";
}

TEST(CListCtrlCl, DraggingAColumnDividerKeepsTheWidth)
{
    UnitList fixture;
    CHeaderCtrlCl *header = fixture.list->header();
    QWidget *viewport = header->viewport();
    const QPoint divider(40, header->height() / 2); // between "S/N" and "Name"
    QTest::mousePress(viewport, Qt::LeftButton, {}, divider);
    QTest::mouseMove(viewport, divider + QPoint(60, 0));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, divider + QPoint(60, 0));
    EXPECT_EQ(header->sectionSize(0), 40) << "the column kept its width";
    EXPECT_EQ(header->sectionSize(1), 100);
}

TEST(CListCtrlCl, HeaderClicksDoNothing)
{
    UnitList fixture;
    CHeaderCtrlCl *header = fixture.list->header();
    QSignalSpy clicks(header, &QHeaderView::sectionClicked);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(90, 10));
    EXPECT_EQ(clicks.count(), 0) << "no column click";
    EXPECT_EQ(fixture.list->itemText(0, 1), QStringLiteral("MIC-1")) << "rows not re-sorted";
    EXPECT_EQ(fixture.list->selectedRow(), -1) << "nothing selected by a header click";
}

TEST(CListCtrlCl, DoubleClickOnARowNamesListAndRow)
{
    UnitList fixture;
    CListCtrlCl *list = fixture.list;
    QSignalSpy doubleClicks(list, &CListCtrlCl::rowDoubleClicked);
    const QRect cell = list->visualRect(list->model()->index(1, 1));
    QTest::mouseDClick(fixture.window.windowHandle(), Qt::LeftButton, {},
        list->viewport()->mapTo(&fixture.window, cell.center()));
    ASSERT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(doubleClicks.at(0).at(0).toInt(), 1005);
    EXPECT_EQ(doubleClicks.at(0).at(1).toInt(), 1);
    EXPECT_EQ(list->selectedRow(), 1) << "the whole row is selected";
}

TEST(CListCtrlCl, ColumnAlignmentComesFromItsCharacter)
{
    const QString alignments = QStringLiteral("0129");
    EXPECT_EQ(columnAlignment(alignments, 0), Qt::AlignLeft);
    EXPECT_EQ(columnAlignment(alignments, 1), Qt::AlignHCenter);
    EXPECT_EQ(columnAlignment(alignments, 2), Qt::AlignRight);
    EXPECT_EQ(columnAlignment(alignments, 3), Qt::AlignHCenter) << "anything else centres";
    EXPECT_EQ(columnAlignment(alignments, 7), Qt::AlignHCenter) << "missing characters too";
}

} // namespace
} // namespace arx

#include "routing/MatrixGeometry.h"

#include <gtest/gtest.h>

namespace arx::matrix {
namespace {

TEST(MatrixGeometry, CornerCrossPointsKeepTheirIdsAndBoxes)
{
    struct Corner {
        int row, column, id;
        Rect box;
    };
    const Corner corners[] = {
        { 0, 0, 10001, { 200, 200, 16, 16 } },
        { 0, 63, 10064, { 1460, 200, 16, 16 } },
        { 95, 0, 16081, { 200, 2100, 16, 16 } },
        { 95, 63, 16144, { 1460, 2100, 16, 16 } },
    };
    for (const Corner &corner : corners) {
        SCOPED_TRACE(corner.id);
        EXPECT_EQ(crossPointId(corner.row, corner.column), corner.id);
        EXPECT_EQ(crossPointRect(corner.row, corner.column), corner.box);
        EXPECT_EQ(cellOfId(corner.id), (Cell { corner.row, corner.column }));
    }
    EXPECT_EQ(GridRight, 1476);
    EXPECT_EQ(GridBottom, 2116);
    EXPECT_FALSE(cellOfId(10000));
    EXPECT_FALSE(cellOfId(16145));
}

TEST(MatrixGeometry, PointsHitOnlyTheBoxesNotTheGapsBetweenThem)
{
    EXPECT_EQ(cellAt(200, 200), (Cell { 0, 0 }));
    EXPECT_EQ(cellAt(215, 215), (Cell { 0, 0 })) << "last pixel of the first box";
    EXPECT_FALSE(cellAt(216, 200)) << "gap right of the first box";
    EXPECT_FALSE(cellAt(200, 219)) << "gap below it";
    EXPECT_EQ(cellAt(220, 240), (Cell { 2, 1 }));
    EXPECT_EQ(cellAt(1475, 2115), (Cell { 95, 63 }));
    EXPECT_FALSE(cellAt(1480, 200)) << "right of the grid";
    EXPECT_FALSE(cellAt(200, 2120)) << "below the grid";
    EXPECT_FALSE(cellAt(199, 300)) << "left of the grid";
}

TEST(MatrixGeometry, LabelsSitBesideTheirRowsAndAboveTheirColumnsWithoutTouchingTheGrid)
{
    for (int row : { 0, 95 }) {
        const Rect label = rowLabelRect(row);
        const Rect box = crossPointRect(row, 0);
        EXPECT_EQ(label.y, box.y) << "row " << row;
        EXPECT_EQ(label.height, box.height);
        EXPECT_LT(label.x + label.width, GridLeft);
    }
    for (int column : { 0, 63 }) {
        const Rect label = columnLabelRect(column);
        const Rect box = crossPointRect(0, column);
        EXPECT_EQ(label.x, box.x) << "column " << column;
        EXPECT_EQ(label.width, box.width);
        EXPECT_LT(label.y + label.height, GridTop);
        EXPECT_GT(label.height, label.width) << "room for vertical text";
    }
}

TEST(MatrixGeometry, BarsSpanThreeClientExtentsSoTheLargestOffsetIsTwo)
{
    for (int extent : { 1, 300, 638, 706 }) {
        SCOPED_TRACE(extent);
        const BarRange range = barRange(extent);
        EXPECT_EQ(range.minimum, 1);
        EXPECT_EQ(range.page, extent);
        EXPECT_EQ(range.last, 2 * extent + 1);
        EXPECT_EQ(largestOffset(extent), 2 * extent);
    }
    EXPECT_EQ(barRange(0), barRange(1)) << "an empty client still has a page";
}

TEST(MatrixGeometry, TheLastRowAndColumnComeIntoViewOnlyFromThreeTimesTheirEdge)
{
    EXPECT_FALSE(edgeReachable(705, GridBottom)) << "3 x 705 = 2115 < 2116";
    EXPECT_TRUE(edgeReachable(706, GridBottom));
    EXPECT_FALSE(edgeReachable(491, GridRight)) << "3 x 491 = 1473 < 1476";
    EXPECT_TRUE(edgeReachable(492, GridRight));
}

TEST(MatrixGeometry, PositionOneIsUnscrolled)
{
    EXPECT_EQ(contentOffset(UnscrolledPosition), 0);
    EXPECT_EQ(contentOffset(barRange(638).last), 2 * 638);
}

} // namespace
} // namespace arx::matrix

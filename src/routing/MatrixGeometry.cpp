#include "routing/MatrixGeometry.h"

namespace arx::matrix {

namespace {

// Room for "Name 96" at 8 points, bold, with a gap of four pixels before the grid.
constexpr int LabelGap = 4;
constexpr int RowLabelWidth = 100;
constexpr int ColumnLabelHeight = 72;

} // namespace

std::optional<Cell> cellOfId(int id)
{
    if (id < FirstCrossPointId || id > LastCrossPointId)
        return std::nullopt;
    const int index = id - FirstCrossPointId;
    return Cell { .row = index / ColumnCount, .column = index % ColumnCount };
}

Rect crossPointRect(int row, int column)
{
    return { .x = GridLeft + Pitch * column,
        .y = GridTop + Pitch * row,
        .width = BoxSize,
        .height = BoxSize };
}

std::optional<Cell> cellAt(int x, int y)
{
    if (x < GridLeft || y < GridTop)
        return std::nullopt;
    const int column = (x - GridLeft) / Pitch;
    const int row = (y - GridTop) / Pitch;
    if (column >= ColumnCount || row >= RowCount)
        return std::nullopt;
    if ((x - GridLeft) % Pitch >= BoxSize || (y - GridTop) % Pitch >= BoxSize)
        return std::nullopt;
    return Cell { .row = row, .column = column };
}

Rect rowLabelRect(int row)
{
    return { .x = GridLeft - LabelGap - RowLabelWidth,
        .y = GridTop + Pitch * row,
        .width = RowLabelWidth,
        .height = BoxSize };
}

Rect columnLabelRect(int column)
{
    return { .x = GridLeft + Pitch * column,
        .y = GridTop - LabelGap - ColumnLabelHeight,
        .width = BoxSize,
        .height = ColumnLabelHeight };
}

BarRange barRange(int clientExtent)
{
    const int page = clientExtent > 0 ? clientExtent : 1;
    return { .minimum = 1, .last = RangeFactor * page - page + 1, .page = page };
}

int largestOffset(int clientExtent)
{
    const BarRange range = barRange(clientExtent);
    return range.last - range.minimum;
}

bool edgeReachable(int clientExtent, int edge)
{
    return largestOffset(clientExtent) + clientExtent >= edge;
}

} // namespace arx::matrix

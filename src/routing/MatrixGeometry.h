#pragma once

#include <optional>

namespace arx {

// The routing page's cross-point grid: 96 rows by 64 columns of 16 x 16 boxes on a
// 20-pixel pitch, with a label beside every row and above every column. All places are in
// the page's unscrolled client coordinates.
namespace matrix {

constexpr int RowCount = 96;
constexpr int ColumnCount = 64;
constexpr int FirstCrossPointId = 10001;
constexpr int LastCrossPointId = FirstCrossPointId + RowCount * ColumnCount - 1; // 16144
constexpr int FirstRowLabelId = 1144;
constexpr int FirstColumnLabelId = 1240;

constexpr int GridLeft = 200;
constexpr int GridTop = 200;
constexpr int Pitch = 20;
constexpr int BoxSize = 16;
// The grid's far edges: the last box ends at 1476 across and 2116 down.
constexpr int GridRight = GridLeft + Pitch * (ColumnCount - 1) + BoxSize;
constexpr int GridBottom = GridTop + Pitch * (RowCount - 1) + BoxSize;

// Each bar spans this many client sizes.
constexpr int RangeFactor = 3;

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect &) const = default;
};

struct Cell {
    int row = 0;
    int column = 0;
    bool operator==(const Cell &) const = default;
};

constexpr int crossPointId(int row, int column)
{
    return FirstCrossPointId + ColumnCount * row + column;
}

// The row and column of a cross-point id, or nothing for an id outside the grid.
std::optional<Cell> cellOfId(int id);

Rect crossPointRect(int row, int column);

// The cross-point whose box holds the point, or nothing between boxes and off the grid.
std::optional<Cell> cellAt(int x, int y);

// Labels sit beside their rows, left of the grid, and above their columns, far-aligned so
// that the text ends next to the boxes.
Rect rowLabelRect(int row);
Rect columnLabelRect(int column);

// A scroll bar of the page for a client extent in its direction: positions 1 .. last,
// one pixel per unit, a page of the client extent. The bar's maximum is RangeFactor client
// extents, so the last position is that less one page, plus one.
struct BarRange {
    int minimum = 1;
    int last = 1;
    int page = 1;
    bool operator==(const BarRange &) const = default;
};
BarRange barRange(int clientExtent);

// How far the contents are moved at the bar's last position.
int largestOffset(int clientExtent);

// Whether the far edge `edge` (GridBottom or GridRight) can be brought fully into view.
bool edgeReachable(int clientExtent, int edge);

// Position 1 means "unscrolled": the contents sit offset by (stored position - 1).
constexpr int UnscrolledPosition = 1;
constexpr int contentOffset(int storedPosition)
{
    return storedPosition - UnscrolledPosition;
}

} // namespace matrix
} // namespace arx

#pragma once

#include "controls/GbkText.h"
#include "controls/CListCtrlCl.h"
#include "controls/HeaderGradient.h"
#include "protocol/TextList.h"

#include <span>

namespace arx {

// One column of a device list: its caption, its alignment ('0' left, '1' centre, '2' right)
// and its width in pixels.
struct ListColumn {
    const char *caption;
    char alignment;
    int width;
};

extern const ListColumn UnitListColumns[4];
extern const ListColumn DanteListColumns[5];
extern const ListColumn ProcessorListColumns[4];

// What the three device lists of the main window share: the look of rows and header.
constexpr int DeviceListRowHeight = 30;
constexpr double DeviceListHeaderHeightFactor = 1.3;
constexpr Rgb DeviceListHeaderColour { 229, 229, 229 };
constexpr int DeviceListHeaderTextHeight = 12;
// Cell text: large enough to read with the fallback fonts, small enough for an address in a
// 100-pixel column.
constexpr int DeviceListTextHeight = 13;

// Gives a list the shared look and the columns, in order.
void setUpDeviceList(CListCtrlCl &list, std::span<const ListColumn> columns);

// Narrows the columns in proportion when together they are wider than the list can show
// beside a vertical scroll bar, so that every column stays in view without scrolling
// sideways; columns that fit keep their widths.
void fitColumnsToList(CListCtrlCl &list);

// Makes the list show exactly the rows of the model, texts decoded from GBK. Rows that stay
// keep their selection.
template <std::size_t Columns> void showRows(CListCtrlCl &list, const TextList<Columns> &rows)
{
    list.setRowCount(static_cast<int>(rows.rowCount()));
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        for (std::size_t column = 0; column < Columns; ++column)
            list.setItemText(
                static_cast<int>(row), static_cast<int>(column), fromGbk(rows.cell(row, column)));
    }
}

} // namespace arx

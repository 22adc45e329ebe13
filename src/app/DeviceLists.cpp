#include "app/DeviceLists.h"

#include "controls/CHeaderCtrlCl.h"

#include <QScrollBar>
#include <QStyle>

namespace arx {

const ListColumn UnitListColumns[4] = {
    { "S/N", '1', 40 },
    { "Name", '1', 100 },
    { "IP", '1', 100 },
    { "Type", '1', 60 },
};

const ListColumn DanteListColumns[5] = {
    { "Dante ID", '0', 100 },
    { "IP", '1', 150 },
    { "Name", '1', 200 },
    { "Rx", '1', 200 },
    { "Tx", '1', 200 },
};

const ListColumn ProcessorListColumns[4] = {
    { "RDA IP", '0', 150 },
    { "Name", '1', 150 },
    { "Port", '1', 100 },
    { "Status", '1', 100 },
};

void setUpDeviceList(CListCtrlCl &list, std::span<const ListColumn> columns)
{
    list.setShowGrid(true);
    list.setBackgroundColour(Qt::white);
    list.setRowHeight(DeviceListRowHeight);
    list.header()->setHeightFactor(DeviceListHeaderHeightFactor);
    list.header()->setBaseColour(DeviceListHeaderColour);
    list.header()->setFontSize(DeviceListHeaderTextHeight, 0);
    list.setFontSize(DeviceListTextHeight, 0);

    QString alignments;
    for (const ListColumn &column : columns)
        alignments += QLatin1Char(column.alignment);
    list.setAlignmentString(alignments);
    for (const ListColumn &column : columns)
        list.insertColumn(list.columnCount(), QString::fromUtf8(column.caption), column.width);
}

} // namespace arx

namespace arx {

void fitColumnsToList(CListCtrlCl &list)
{
    const int available = list.width() - 2 * list.frameWidth()
        - list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list.verticalScrollBar());
    int total = 0;
    for (int column = 0; column < list.columnCount(); ++column)
        total += list.columnWidth(column);
    if (total <= available || total == 0)
        return;
    for (int column = 0; column < list.columnCount(); ++column)
        list.setColumnWidth(column, list.columnWidth(column) * available / total);
}

} // namespace arx

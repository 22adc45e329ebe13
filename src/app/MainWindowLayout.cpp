#include "app/MainWindowLayout.h"

namespace arx {

QSize mainWindowClientSize(QMargins frame)
{
    return MainWindowStartSize.shrunkBy(frame);
}

MainWindowGeometry mainWindowGeometry(QSize client)
{
    const int w = client.width();
    const int h = client.height();
    const int column = 3 * w / 4; // left edge of the device column
    MainWindowGeometry g;

    // The page buttons share the page area's width, so that HELP does not run under the
    // search and help buttons, which sit over the device column.
    const int pageButtonWidth = column / 4;
    for (int i = 0; i < 4; ++i)
        g.pageButtons[static_cast<std::size_t>(i)]
            = QRect(i * pageButtonWidth, 60, pageButtonWidth, 30);

    g.searchButton = QRect(w - 130, 50, 100, 30);
    g.helpButton = QRect(w - 260, 50, 100, 30);
    g.localAddressLabel = QRect(w - 260, 84, 230, 32);
    g.pageArea = QRect(0, 120, column, h - 130);
    constexpr int bandTop = 92;
    constexpr int bandHeight = 26;
    constexpr int actionWidth = 88;
    constexpr int actionGap = 6;
    constexpr int selectionWidth = 240;
    g.checkButton = QRect(6, bandTop, 96, bandHeight);
    int actionLeft = column - actionGap - 3 * actionWidth - 2 * actionGap;
    for (QRect &button : g.roomActionButtons) {
        button = QRect(actionLeft, bandTop, actionWidth, bandHeight);
        actionLeft += actionWidth + actionGap;
    }
    g.selectionLine = QRect(
        g.roomActionButtons[0].left() - 12 - selectionWidth, bandTop, selectionWidth, bandHeight);
    const int statusLeft = g.checkButton.right() + 1 + 12;
    g.roomStatusLabel = QRect(
        statusLeft, bandTop, g.roomActionButtons[0].left() - 12 - statusLeft, bandHeight);
    g.roomStatusBesideSelection = g.roomStatusLabel;
    g.roomStatusBesideSelection.setRight(g.selectionLine.left() - 12 - 1);

    g.unitList = QRect(column, 120, w / 4, h - 130);
    // The processors take the units' place while the speaker page is shown, with the field
    // that adds one by address under them.
    g.processorList = QRect(column, 120, w / 4, 150);
    constexpr int addWidth = 80;
    constexpr int gap = 8;
    const int fieldTop = g.processorList.bottom() + 1 + gap;
    g.processorAddressField = QRect(column, fieldTop, w / 4 - addWidth - gap, 30);
    g.addProcessorButton = QRect(w - addWidth, fieldTop, addWidth, 30);
    // The ROUTING page shows every device in the unit list's place.
    g.danteList = g.unitList;
    return g;
}

} // namespace arx

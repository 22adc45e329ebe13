#pragma once

// Drives a window of the program as the operator's pointer does, for the widget tests and
// the end-to-end tests alike: controls found by their dialog id, clicks and double clicks
// delivered through the window so that hidden or covered controls do not get them, and the
// rows of the device lists read back as text.

#include "controls/CListCtrlCl.h"
#include "controls/ControlId.h"

#include <gtest/gtest.h>

#include <QTest>

#include <functional>

namespace arx::test {

// The processor list: a double click on a row connects to that processor.
constexpr int ProcessorListControlId = 1009;

class WindowDriver {
public:
    explicit WindowDriver(QWidget &window)
        : window_(window)
    {
    }

    template <class Control = QWidget> Control *control(int id) const
    {
        auto *found = findControl<Control>(&window_, id);
        EXPECT_NE(found, nullptr) << "control " << id << " exists with its type";
        return found;
    }

    CListCtrlCl *list(int id) const { return control<CListCtrlCl>(id); }

    void click(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton,
        Qt::KeyboardModifiers modifiers = {}) const
    {
        QTest::mouseClick(window_.windowHandle(), button, modifiers, widget->mapTo(&window_, at));
    }
    void shiftClick(QWidget *widget) const
    {
        click(widget, widget->rect().center(), Qt::LeftButton, Qt::ShiftModifier);
    }
    void click(QWidget *widget) const { click(widget, widget->rect().center()); }
    void click(int id) const { click(control(id)); }

    void doubleClickRow(int listId, int row) const
    {
        CListCtrlCl *rows = list(listId);
        const QRect cell = rows->visualRect(rows->model()->index(row, 0));
        QTest::mouseDClick(window_.windowHandle(), Qt::LeftButton, {},
            rows->viewport()->mapTo(&window_, cell.center()));
    }

    QStringList rowTexts(int listId, int row) const
    {
        QStringList texts;
        CListCtrlCl *rows = list(listId);
        for (int column = 0; column < rows->columnCount(); ++column)
            texts << rows->itemText(row, column);
        return texts;
    }

    // Keeps the event loop turning until the list has `rows` rows; false after `timeoutMs`.
    bool waitForRows(int listId, int rows, int timeoutMs = 5000) const
    {
        return QTest::qWaitFor([&] { return list(listId)->rowCount() == rows; }, timeoutMs);
    }

    // A double click on row `row` of the processor list: the connection starts.
    void connectToProcessor(int row) const { doubleClickRow(ProcessorListControlId, row); }

private:
    QWidget &window_;
};

} // namespace arx::test

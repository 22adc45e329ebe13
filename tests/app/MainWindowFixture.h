#pragma once

// The main window on its seams: a recording link, a manual clock and scripted prompts, so
// that a test clicks through the window and reads exactly what went out.

#include "app/CARNDlg.h"
#include "controls/CListCtrlCl.h"
#include "controls/ControlId.h"
#include "model/Store.h"
#include "seams/Clock.h"

#include "DeviceFrames.h"
#include "RecordingLink.h"
#include "ScriptedPrompts.h"
#include "TestRoom.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>
#include <memory>

namespace arx::test {

inline const std::string OwnAddress = "127.0.10.1";
inline const std::string ProcessorAddress = "127.0.10.200";
inline const std::string SearchRequest = "25 43 98 76 7F 00 0A 01 23 -> 239.254.50.123:9000";

inline std::string unitAddress(int number)
{
    return "127.0.10." + std::to_string(9 + number);
}

struct MainWindow : TestRoom {
    CARNDlg window { room, link, clock, prompts,
        [] { return std::optional<std::string>(OwnAddress); } };

    WindowDriver driver { window };

    MainWindow()
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <class Control = QWidget> Control *control(int id)
    {
        return driver.control<Control>(id);
    }

    CListCtrlCl *list(int id) { return driver.list(id); }

    // Clicks through the window, as the pointer does, so that hidden or covered controls
    // do not get the click.
    void click(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        driver.click(widget, at, button);
    }
    void click(int id) { driver.click(id); }

    void doubleClickRow(int listId, int row) { driver.doubleClickRow(listId, row); }

    void receive(const std::string &sender, const Bytes &bytes)
    {
        window.discovery().received(datagramFrom(sender, bytes));
    }

    // The search on, with the three families announced in order from .10, .11 and .12.
    void searchAndAnnounceThreeUnits()
    {
        click(1006);
        receive(unitAddress(1), arn1Announcement("Seat 01"));
        receive(unitAddress(2), velkAnnouncement("Seat 02"));
        receive(unitAddress(3), pxl2Announcement("Seat 03"));
    }

    QStringList rowTexts(int listId, int row) { return driver.rowTexts(listId, row); }

    long sentTo(const std::string &destination) const
    {
        return std::count_if(link.log.begin(), link.log.end(),
            [&](const std::string &line) { return line.ends_with("-> " + destination); });
    }
};

} // namespace arx::test

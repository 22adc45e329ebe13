// The ROUTING page of the application as it starts (window offscreen, socket on
// 127.0.110.1) against a simulated room on 127.0.110.0/24: the device list and the network
// settings dialog of a unit found on the wire.
#include "app/CARNApp.h"
#include "app/CARNDlg.h"
#include "controls/CListCtrlCl.h"
#include "controls/ControlId.h"
#include "controls/PngButton.h"
#include "network/CDeviceipDlg.h"

#include "SimControl.h"
#include "SimProcess.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace arx {
namespace {

constexpr int WaitMs = 5000;

TEST(RoutingEndToEnd, TheDeviceListShowsTheRoomAndOpensAUnitsSettingsByItsCutName)
{
    // Two units (numbers 1 and 2) at .10 and .11, the processor at .200.
    arxsim::SimProcess sim { { "--subnet", "127.0.110.0", "--units", "1,3", "--level-rate", "5" },
        "routing-e2e-sim.log" };
    arxsim::SimControl room { sim.control() };
    // 24 bytes on the wire: ARX keeps 23, which end in the first half of "你".
    room.rename(1, std::string(22, 'A') + "\xC4\xE3");

    CARNApp app(StartOptions { QStringLiteral("127.0.110.1") });
    CARNDlg &window = app.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto click = [&](QWidget *target) {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
            target->mapTo(&window, target->rect().center()));
    };
    click(findControl(&window, 1003)); // ROUTING
    click(findControl(&window, 1006)); // SEARCH

    auto *devices = findControl<CListCtrlCl>(&window, 1008);
    ASSERT_TRUE(QTest::qWaitFor([&] { return devices->rowCount() == 3; }, WaitMs));
    auto row = [&](int index) {
        QStringList texts;
        for (int column = 0; column < devices->columnCount(); ++column)
            texts << devices->itemText(index, column);
        return texts;
    };
    EXPECT_EQ(
        row(0), (QStringList { "1", "127.0.110.10", QString(22, QLatin1Char('A')), "-", "-" }));
    EXPECT_EQ(row(1), (QStringList { "2", "127.0.110.11", "Seat 02", "-", "-" }));
    EXPECT_EQ(row(2), (QStringList { "", "127.0.110.200", "RDA-SIM", "-", "-" }));

    // Frames leave behind the window: what answers the two search requests (100 ms apart)
    // has reached the unit before the dialog is opened.
    QTest::qWait(300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.pacedLink().waitingFrames() == 0; }, WaitMs));
    const std::size_t framesBefore = room.unitSettingFrames(1).size();
    const QRect cell = devices->visualRect(devices->model()->index(0, 0));
    QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {},
        devices->viewport()->mapTo(&window, cell.center()));
    // Deleted when it closes.
    QPointer<CDeviceipDlg> dialog = window.findChild<CDeviceipDlg *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(
        findControl<QLineEdit>(dialog, IpAddressFieldId)->text(), QStringLiteral("127.0.110.10"));
    // The dialog is a window of its own: its buttons are clicked directly.
    for (int id : { StaticIpToggleId, ApplyNameButtonId, DeviceipOkId })
        QTest::mouseClick(findControl(dialog, id), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isNull(); }, WaitMs)) << "closed and gone";
    QTest::qWait(100);
    EXPECT_EQ(room.unitSettingFrames(1).size(), framesBefore) << "the dialog sent nothing";

    click(findControl(&window, 1006)); // the search stops
    EXPECT_EQ(devices->rowCount(), 0);
}

} // namespace
} // namespace arx

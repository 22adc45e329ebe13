// The ROUTING page in the main window: the device list, its double click into the network
// settings dialog, and a grid that sends nothing.
#include "MainWindowFixture.h"

#include "controls/PngButton.h"
#include "network/CDeviceipDlg.h"
#include "routing/CMatrixDlg.h"
#include "routing/CrossPointGrid.h"

#include <QLineEdit>

namespace arx {
namespace {

using test::MainWindow;
using test::unitAddress;

TEST(MainWindowRouting, TheDeviceListFillsFromUnitsAndProcessorsAndEmptiesWhenTheSearchStops)
{
    MainWindow fixture;
    fixture.click(1003);
    ASSERT_TRUE(fixture.list(1008)->isVisible());
    fixture.searchAndAnnounceThreeUnits();
    ASSERT_TRUE(fixture.window.discovery().addProcessor(test::ProcessorAddress));

    CListCtrlCl *devices = fixture.list(1008);
    ASSERT_EQ(devices->rowCount(), 4);
    EXPECT_EQ(fixture.rowTexts(1008, 0),
        (QStringList { "1", QString::fromStdString(unitAddress(1)), "Seat 01", "-", "-" }));
    EXPECT_EQ(fixture.rowTexts(1008, 2),
        (QStringList { "3", QString::fromStdString(unitAddress(3)), "Seat 03", "-", "-" }));
    EXPECT_EQ(fixture.rowTexts(1008, 3),
        (QStringList { "", QString::fromStdString(test::ProcessorAddress), "", "-", "-" }));
    EXPECT_EQ(fixture.store->networkDevices[3].inUse, 1);
    EXPECT_EQ(textOf(fixture.store->networkDevices[3].ipAddress), test::ProcessorAddress);
    EXPECT_EQ(fixture.store->networkDevices[4].inUse, 0);

    fixture.click(1006); // the search stops
    EXPECT_EQ(devices->rowCount(), 0);
    for (const NetworkDevice &device : fixture.store->networkDevices)
        EXPECT_EQ(device.inUse, 0);
}

TEST(MainWindowRouting, ADoubleClickOpensTheSettingsOfTheRowsOwnEntry)
{
    MainWindow fixture;
    fixture.click(1003);
    fixture.click(1006);
    // 24 bytes: cut to 23, the name ends in the first half of "你", which the list drops.
    const std::string announced = std::string(22, 'A') + "\xC4\xE3";
    fixture.receive(unitAddress(1), test::arn1Announcement(announced));
    ASSERT_EQ(fixture.list(1008)->rowCount(), 1);
    ASSERT_EQ(fixture.rowTexts(1008, 0).at(2), QString(22, QLatin1Char('A')));
    const std::size_t logged = fixture.link.log.size();

    fixture.doubleClickRow(1008, 0);
    auto *dialog = fixture.window.findChild<CDeviceipDlg *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->entry(), std::optional<std::size_t>(0));
    EXPECT_EQ(findControl<QLineEdit>(dialog, IpAddressFieldId)->text(),
        QString::fromStdString(unitAddress(1)));
    EXPECT_FALSE(dialog->isStaticMode());

    QTest::mouseClick(findControl<PngButton>(dialog, StaticIpToggleId), Qt::LeftButton);
    QTest::mouseClick(findControl<PngButton>(dialog, ApplyIpButtonId), Qt::LeftButton);
    EXPECT_EQ(fixture.prompts.shown, std::vector<std::string> { "static_ip error" });
    QTest::mouseClick(findControl<PngButton>(dialog, DeviceipOkId), Qt::LeftButton);
    EXPECT_EQ(fixture.link.log.size(), logged) << "the dialog sends nothing";
    EXPECT_EQ(fixture.store->networkDevices[0].staticAddress, 0) << "nor writes back";
}

TEST(MainWindowRouting, ClickingCrossPointsSendsNothing)
{
    MainWindow fixture;
    fixture.click(1003);
    for (int id : { 10001, 10200 }) {
        const std::optional<CrossPoint> point = findCrossPoint(fixture.window.routingPage(), id);
        ASSERT_TRUE(point);
        fixture.click(point->grid, point->centre());
    }
    EXPECT_TRUE(fixture.link.log.empty());
    EXPECT_TRUE(fixture.prompts.shown.empty());
}

} // namespace
} // namespace arx

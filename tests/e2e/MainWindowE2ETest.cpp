// The application as it starts (its window on the offscreen platform, its socket on
// 127.0.10.1) against a simulated room on 127.0.10.0/24, clicked through the window.
#include "app/CARNApp.h"
#include "app/CARNDlg.h"
#include "controls/CListCtrlCl.h"
#include "controls/ControlId.h"
#include "controls/PngButton.h"
#include "mic/CMicDlg.h"

#include "SimControl.h"
#include "SimProcess.h"
#include "Text.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <QTest>

#include <memory>

namespace arx {
namespace {

constexpr int WaitMs = 5000;

class MainWindowEndToEnd : public ::testing::Test {
protected:
    // Units 1..5 of types 1..5 at .10 to .14, the processor at .200.
    arxsim::SimProcess sim { { "--subnet", "127.0.10.0", "--units", "1,2,3,4,5", "--level-rate",
                                 "5" },
        "main-window-e2e-sim.log" };
    arxsim::SimControl room { sim.control() };
    std::unique_ptr<CARNApp> app;

    CARNDlg &window() { return app->window(); }

    void start()
    {
        app = std::make_unique<CARNApp>(StartOptions { QStringLiteral("127.0.10.1") });
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
        driver = std::make_unique<test::WindowDriver>(window());
    }

    // Made by start(), once the window exists.
    std::unique_ptr<test::WindowDriver> driver;

    template <class Control = QWidget> Control *control(int id)
    {
        return driver->control<Control>(id);
    }
    void click(int id) { driver->click(id); }
    bool waitForRows(int listId, int rows) { return driver->waitForRows(listId, rows, WaitMs); }
    QStringList row(int listId, int index) { return driver->rowTexts(listId, index); }

    bool roomSees(const std::function<bool(arxsim::SimControl &)> &check)
    {
        // The room answers on its own schedule; keep the window's event loop turning.
        return QTest::qWaitFor([&] { return check(room); }, WaitMs);
    }
};

TEST_F(MainWindowEndToEnd, PressingSearchListsTheRoomsUnitsAndAttachesThem)
{
    room.rename(2, "\xBB\xE1\xD2\xE9\xCA\xD2"); // a GBK name on the wire
    start();
    click(1006);
    ASSERT_TRUE(waitForRows(1005, 5)) << "five units listed";

    const QStringList expected[] = {
        { "1", "Seat 01", "127.0.10.10", "ARN1" },
        { "2", "会议室", "127.0.10.11", "VEL-K" },
        { "3", "Seat 03", "127.0.10.12", "PXL2" },
        { "4", "Seat 04", "127.0.10.13", "ARN1" },
        { "5", "Seat 05", "127.0.10.14", "VEL-K" },
    };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(row(1005, i), expected[i]) << "row " << i;
    EXPECT_EQ(control<PngButton>(1006)->state(), 1) << "search drawn on";
    EXPECT_EQ(window().micPage()->shownStrips(), (std::vector<int> { 0, 1, 2, 3, 4 }));

    for (int unit = 1; unit <= 5; ++unit) {
        EXPECT_TRUE(roomSees([unit](arxsim::SimControl &r) {
            return r.unit(unit).text("attached") == "1";
        })) << "unit "
            << unit << " attached";
        EXPECT_EQ(room.unit(unit).text("controller"), "127.0.10.1:39030");
    }
}

TEST_F(MainWindowEndToEnd, StoppingTheSearchEmptiesTheListAndDetachesTheUnits)
{
    start();
    click(1006);
    ASSERT_TRUE(waitForRows(1005, 5));
    ASSERT_TRUE(roomSees([](arxsim::SimControl &r) { return r.unit(3).text("attached") == "1"; }));

    click(1006);
    EXPECT_EQ(control<CListCtrlCl>(1005)->rowCount(), 0);
    EXPECT_EQ(control<PngButton>(1006)->state(), 0);
    for (int unit : { 1, 2, 3 })
        EXPECT_TRUE(roomSees([unit](arxsim::SimControl &r) {
            return r.unit(unit).text("attached") == "0";
        })) << "unit "
            << unit << " detached";
}

TEST_F(MainWindowEndToEnd, SpeakerPageListsTheProcessorAndConnectsToIt)
{
    start();
    click(1006);
    click(1002);
    ASSERT_TRUE(waitForRows(1009, 1)) << "the processor answered the search";
    EXPECT_EQ(row(1009, 0), QStringList({ "127.0.10.200", "RDA-SIM", "39060", "未连接" }));

    driver->connectToProcessor(0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return control<CListCtrlCl>(1009)->itemText(0, 3) == QStringLiteral("已连接"); },
        WaitMs))
        << "the processor acknowledged";
    EXPECT_EQ(window().currentPage(), Page::Speaker);
    // The frames go out behind the window: the answer to the second search request, 100 ms
    // after the first, may be what the window took for the acknowledgement.
    EXPECT_TRUE(
        roomSees([](arxsim::SimControl &r) { return r.processor().text("connected") == "1"; }));
    EXPECT_EQ(room.processor().text("controller"), "127.0.10.1:39030");
}

TEST_F(MainWindowEndToEnd, TheStatusLineSaysSoWhileTheLinkRefusesFrames)
{
    start();
    EXPECT_TRUE(window().statusLine().startsWith(QStringLiteral("Local address")));
    // A long pause holds the queue, which then fills up.
    const std::vector<std::uint8_t> frame = { '%', 'T', '#' };
    app->link().send("127.0.10.250", 39030, frame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->pacedLink().waitingFrames() == 0; }, WaitMs));
    app->link().pause(60000);
    for (std::size_t i = 0; i <= PacedLink::DefaultCapacity; ++i)
        app->link().send("127.0.10.250", 39030, frame);
    EXPECT_EQ(window().statusLine(), QStringLiteral("Frames are being dropped (1)"));
    app->link().send("127.0.10.250", 39030, frame);
    EXPECT_EQ(window().statusLine(), QStringLiteral("Frames are being dropped (2)"));

    // A search press shows the address again, but its own two requests are refused too.
    click(1006);
    EXPECT_EQ(window().statusLine(), QStringLiteral("Frames are being dropped (4)"));
}

} // namespace
} // namespace arx

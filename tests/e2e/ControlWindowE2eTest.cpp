// The window and a room-control client side by side (window on the offscreen platform, socket
// and control port on 127.0.151.1) against arx-sim on 127.0.151.0/24: each sees the other's
// changes, and a command never opens a dialog or switches the page.
#include "app/CARNApp.h"
#include "app/CARNDlg.h"
#include "controls/PngButton.h"
#include "mic/CInputDlg.h"
#include "mic/CMicDlg.h"

#include "HeadlessArx.h"
#include "SimControl.h"
#include "SimProcess.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

namespace arx {
namespace {

constexpr int WaitMs = 5000;
constexpr int MuteToggle = 1123;

TEST(ControlWindowEndToEnd, TheWindowAndAClientEachSeeWhatTheOtherChanged)
{
    arxsim::SimProcess sim { { "--subnet", "127.0.151.0", "--units", "1", "--level-rate", "0" },
        "control-window-e2e-sim.log" };
    StartOptions options { QStringLiteral("127.0.151.1") };
    options.control = ControlServerOptions { .endpoint = { .address = "127.0.151.1", .port = 0 },
        .allowed = {} };
    options.search = true;
    CARNApp app(options);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app.window()));
    test::WindowDriver driver(app.window());
    ASSERT_TRUE(driver.waitForRows(1005, 1, WaitMs)) << "--search found the unit";
    ASSERT_NE(app.service().controlServer(), nullptr);
    test::RawControlClient panel("127.0.151.1", app.service().controlServer()->port());
    // The client's lines arrive while the window's event loop turns.
    const auto heard = [&](const std::string &wanted) {
        return QTest::qWaitFor(
            [&] {
                const auto line = panel.line(std::chrono::milliseconds(0));
                return line && *line == wanted;
            },
            WaitMs);
    };

    // Taken on by the port once the loop has turned: answered.
    ASSERT_TRUE(panel.sendLine("< GET ARX VERSION >"));
    ASSERT_TRUE(heard("< REP ARX VERSION " ARX_VERSION " >"));

    PngButton *mute = nullptr;
    for (PngButton *button : app.window().micPage()->strip(0)->findChildren<PngButton *>()) {
        if (controlId(button) == MuteToggle)
            mute = button;
    }
    ASSERT_NE(mute, nullptr);
    driver.click(mute);
    EXPECT_TRUE(heard("< REP 1 MUTE ON >")) << "a click in the window reaches the client";

    ASSERT_TRUE(panel.sendLine("< SET 1 MUTE OFF >"));
    EXPECT_TRUE(heard("< REP 1 MUTE OFF >"));
    EXPECT_EQ(mute->state(), 0) << "the window shows the command's value";

    ASSERT_TRUE(panel.sendLine("< SET SPEAKER CONNECT 127.0.151.200 >"));
    EXPECT_TRUE(heard("< REP SPEAKER CONNECTED ON 127.0.151.200 >"));
    ASSERT_TRUE(panel.sendLine("< SET SPEAKER RECALL \"Missing.box\" >"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto line = panel.line(std::chrono::milliseconds(0));
            return line && line->starts_with("< ERR SPEAKER RECALL ");
        },
        WaitMs));
    EXPECT_EQ(app.window().currentPage(), Page::Mic) << "a command never switches the page";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "nor opens a dialog";
}

} // namespace
} // namespace arx

// The strips of the running application (window on the offscreen platform, socket on
// 127.0.50.1) against a simulated room of every family on 127.0.50.0/24.
#include "app/CARNApp.h"
#include "app/CARNDlg.h"
#include "app/MainWindowLayout.h"
#include "controls/CColourButton.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CStaticST.h"
#include "controls/PngButton.h"
#include "mic/CMicDlg.h"

#include "SimControl.h"
#include "SimProcess.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <QTest>

#include <memory>

namespace arx {
namespace {

constexpr int WaitMs = 5000;
constexpr int MuteToggle = 1123;
constexpr int FamilyPicture = 1142;

class StripEndToEnd : public ::testing::Test {
protected:
    // Units 1..5 of types 1..5 at .10 to .14.
    arxsim::SimProcess sim { { "--subnet", "127.0.50.0", "--units", "1,2,3,4,5", "--level-rate",
                                 "20", "--no-processor" },
        "strip-e2e-sim.log" };
    arxsim::SimControl room { sim.control() };
    std::unique_ptr<CARNApp> app;
    std::unique_ptr<test::WindowDriver> driver;

    void SetUp() override
    {
        app = std::make_unique<CARNApp>(StartOptions { QStringLiteral("127.0.50.1") });
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&app->window()));
        driver = std::make_unique<test::WindowDriver>(app->window());
        driver->click(1006);
        ASSERT_TRUE(driver->waitForRows(1005, 5, WaitMs));
        ASSERT_TRUE(roomSees([](arxsim::SimControl &r) { return r.unitsAttached(5); }));
    }

    CInputDlg *strip(int unit) { return app->window().micPage()->strip(unit - 1); }
    template <class Control> Control *in(int unit, int id)
    {
        for (Control *found : strip(unit)->findChildren<Control *>()) {
            if (controlId(found) == id)
                return found;
        }
        ADD_FAILURE() << "unit " << unit << " has control " << id;
        return nullptr;
    }
    bool roomSees(const std::function<bool(arxsim::SimControl &)> &check)
    {
        return QTest::qWaitFor([&] { return check(room); }, WaitMs);
    }
};

TEST_F(StripEndToEnd, EveryFamilysStripAppearsWithItsControls)
{
    EXPECT_EQ(app->window().micPage()->shownStrips(), (std::vector<int> { 0, 1, 2, 3, 4 }));
    const bool phantom[] = { true, false, false, true, false };
    const bool equaliser[] = { false, false, true, false, false };
    for (int unit = 1; unit <= 5; ++unit) {
        EXPECT_TRUE(strip(unit)->isVisible()) << unit;
        EXPECT_EQ(in<PngButton>(unit, 1124)->isVisible(), phantom[unit - 1]) << unit;
        EXPECT_EQ(in<PngButton>(unit, 1143)->isVisible(), equaliser[unit - 1]) << unit;
    }
}

TEST_F(StripEndToEnd, MuteGoesOutTwiceToEachFamilyAndTheUnitsReportComesBack)
{
    room.clear();
    for (int unit = 1; unit <= 5; ++unit) {
        driver->click(in<PngButton>(unit, MuteToggle));
        ASSERT_TRUE(roomSees([unit](arxsim::SimControl &r) {
            return r.unit(unit).number("micMute") == 1 && r.unitSettingFrames(unit).size() >= 2;
        })) << "unit "
            << unit;
        const std::vector<arxsim::Bytes> frames = room.unitSettingFrames(unit);
        ASSERT_EQ(frames.size(), 2u) << "unit " << unit << ": the frame and its repeat";
        EXPECT_EQ(frames[0], frames[1]);
        EXPECT_EQ(frames[0].at(1), unit == 2 || unit == 5 ? 'H' : 'A') << "unit " << unit;
    }

    // Switched back on the unit itself: the strip follows its report.
    for (int unit = 1; unit <= 5; ++unit) {
        ASSERT_TRUE(room.setSetting(unit, "micMute", 0));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return in<PngButton>(unit, MuteToggle)->state() == 0; }, WaitMs))
            << "unit " << unit;
    }
}

// Units 1..3 selected by their pictures: a mute on one strip reaches the three and no other;
// Unmute all then reaches every unit, the two never muted included.
TEST_F(StripEndToEnd, ASelectionChangesItsUnitsAndUnmuteAllReachesEveryUnit)
{
    driver->click(in<CStaticST>(1, FamilyPicture));
    driver->shiftClick(in<CStaticST>(3, FamilyPicture));
    room.clear();
    driver->click(in<PngButton>(2, MuteToggle));
    for (int unit = 1; unit <= 3; ++unit) {
        EXPECT_TRUE(roomSees([unit](arxsim::SimControl &r) {
            return r.unit(unit).number("micMute") == 1 && r.unitSettingFrames(unit).size() == 2;
        })) << "unit "
            << unit;
    }
    for (int unit = 4; unit <= 5; ++unit)
        EXPECT_TRUE(room.unitSettingFrames(unit).empty()) << "unit " << unit;

    driver->click(UnmuteAllButtonId);
    EXPECT_TRUE(roomSees([](arxsim::SimControl &r) {
        for (int unit = 1; unit <= 5; ++unit) {
            if (r.unit(unit).number("micMute") != 0 || r.unitSettingFrames(unit).size() < 2)
                return false;
        }
        return true;
    }));
}

TEST_F(StripEndToEnd, LevelReportsMoveTheMeters)
{
    for (int unit = 1; unit <= 5; ++unit) {
        auto *meter = in<CPeakMeterCtrl>(unit, 1137);
        std::vector<int> seen;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const int value = meter->bandValue(0);
                if (seen.empty() || seen.back() != value)
                    seen.push_back(value);
                return seen.size() >= 3;
            },
            WaitMs))
            << "unit " << unit << " meter moves";
        for (int value : seen)
            EXPECT_TRUE(value % 2 == 0 && value <= 32) << "twice a level of 0..16: " << value;
    }
}

TEST_F(StripEndToEnd, AColourPickedOnThePxl2StripReachesTheUnit)
{
    auto *open = in<CColourButton>(3, 1144);
    driver->click(open);
    ASSERT_TRUE(QTest::qWaitFor([&] { return open->isPaletteShown(); }, WaitMs));
    QTest::mouseClick(open->palette(), Qt::LeftButton, {}, CColourPalette::swatchRect(1).center());
    EXPECT_TRUE(roomSees([](arxsim::SimControl &r) {
        return r.unit(3).number("colourOpen") == 0x0000FF;
    })) << "pure red, red in the low byte";
}

} // namespace
} // namespace arx

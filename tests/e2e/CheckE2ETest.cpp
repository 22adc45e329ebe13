// The room check of the running application (window on the offscreen platform, socket on
// 127.0.140.1, --journal) against a simulated room on 127.0.140.0/24: a unit changed behind
// ARX's back, and a unit that falls silent.
#include "app/CARNApp.h"
#include "app/CARNDlg.h"
#include "app/MainWindowLayout.h"
#include "mic/CMicDlg.h"
#include "room/Room.h"

#include "SimControl.h"
#include "SimProcess.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <fstream>
#include <memory>

namespace arx {
namespace {

constexpr int WaitMs = 8000;
constexpr int DiffersMark = 1150;
constexpr int SilenceLabel = 1151;
const char *const JournalPath = "check-e2e-journal.jsonl";

class CheckEndToEnd : public ::testing::Test {
protected:
    // Unit 1 an ARN1 unit (gain +6 dB) at .10, unit 2 a PXL2 unit at .11.
    arxsim::SimProcess sim { { "--subnet", "127.0.140.0", "--units", "1,3", "--level-rate", "10",
                                 "--no-processor" },
        "check-e2e-sim.log" };
    arxsim::SimControl room { sim.control() };
    std::unique_ptr<CARNApp> app;
    std::unique_ptr<test::WindowDriver> driver;

    void SetUp() override
    {
        std::remove(JournalPath);
        app = std::make_unique<CARNApp>(StartOptions { .interfaceAddress = "127.0.140.1",
            .journalPath = JournalPath,
            .checkIntervalSeconds = 0 });
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&app->window()));
        driver = std::make_unique<test::WindowDriver>(app->window());
        driver->click(SearchButtonId);
        ASSERT_TRUE(driver->waitForRows(UnitListId, 2, WaitMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->pacedLink().waitingFrames() == 0; }));
    }

    CInputDlg *strip(int unit) { return app->window().micPage()->strip(unit - 1); }
    UnitCheckState state(int unit) { return strip(unit)->shownCheck().state; }
    const RoomCheckSummary &summary() { return app->room().check().summary(); }
    // CHECK, then the whole check: the requests, the answers and the 2 s after.
    bool checkRoom()
    {
        const int before = summary().checks;
        driver->click(CheckButtonId);
        return QTest::qWaitFor(
            [&] { return summary().checks == before + 1 && !summary().running; }, WaitMs);
    }
    bool journalHas(const std::vector<std::string> &parts)
    {
        return QTest::qWaitFor(
            [&] {
                std::ifstream journal(JournalPath);
                for (std::string line; std::getline(journal, line);) {
                    if (std::all_of(parts.begin(), parts.end(),
                            [&](const std::string &part) { return line.find(part) != line.npos; }))
                        return true;
                }
                return false;
            },
            WaitMs);
    }
};

TEST_F(CheckEndToEnd, AUnitChangedQuietlyDiffersUntilARXSendsItsSettingsAgain)
{
    EXPECT_FALSE(room.setSetting(1, "gain", 4, true)) << "changed without a report";
    ASSERT_TRUE(checkRoom());
    ASSERT_EQ(state(1), UnitCheckState::Differs);
    EXPECT_EQ(state(2), UnitCheckState::Same);
    auto *mark = findControl<QToolButton>(strip(1), DiffersMark);
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(mark->toolTip(), QStringLiteral("gain: ARX: +6dB, unit: +12dB"));
    EXPECT_TRUE(app->window().roomStatusLine().contains(QStringLiteral("1 differs (Seat 01)")))
        << app->window().roomStatusLine().toStdString();
    EXPECT_TRUE(journalHas({ "\"direction\":\"event\"", "\"unit\":1", "\"state\":\"differs\"",
        "\"field\":\"gain\"", "\"arx\":\"+6dB\"", "\"unit_value\":\"+12dB\"" }));

    room.clear();
    const QList<QAction *> answers = mark->menu()->actions();
    ASSERT_EQ(answers.size(), 2);
    EXPECT_EQ(answers[1]->text(), QStringLiteral("Send ARX's settings again"));
    answers[1]->trigger();
    EXPECT_FALSE(mark->isVisible());
    ASSERT_TRUE(room.waitUntil([](arxsim::SimControl &r) { return r.unitFrames(1).size() == 2; }));
    const std::vector<arxsim::Bytes> frames = room.unitFrames(1);
    EXPECT_EQ(frames[0].at(1), 'M') << "an ARN1 unit's COPY sequence: colours";
    EXPECT_EQ(frames[1].at(1), 'A') << "then its settings";
    EXPECT_EQ(room.unit(1).number("gain"), 2) << "+6 dB again";

    ASSERT_TRUE(checkRoom());
    EXPECT_EQ(state(1), UnitCheckState::Same) << "the next check is clean";
    EXPECT_EQ(summary().differing, std::vector<int> {});
}

TEST_F(CheckEndToEnd, ASilentUnitIsNotRespondingUntilItSendsAgain)
{
    room.setSilent(2, true);
    ASSERT_TRUE(checkRoom());
    ASSERT_EQ(state(2), UnitCheckState::NotResponding);
    EXPECT_EQ(state(1), UnitCheckState::Same);
    auto *since = findControl<QLabel>(strip(2), SilenceLabel);
    ASSERT_NE(since, nullptr);
    EXPECT_TRUE(since->isVisible());
    EXPECT_TRUE(since->text().startsWith(QStringLiteral("No answer since ")))
        << since->text().toStdString();
    EXPECT_TRUE(driver->list(UnitListId)->isRowMarked(1));
    EXPECT_FALSE(driver->list(UnitListId)->isRowMarked(0));
    EXPECT_TRUE(app->window().roomStatusLine().startsWith(
        QStringLiteral("2 units \u00b7 1 answering \u00b7 1 not responding (Seat 02)")))
        << app->window().roomStatusLine().toStdString();
    EXPECT_TRUE(
        journalHas({ "\"direction\":\"event\"", "\"unit\":2", "\"state\":\"not responding\"" }));

    room.setSilent(2, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return state(2) == UnitCheckState::Answering; }, WaitMs))
        << "its level reports bring it back";
    EXPECT_FALSE(since->isVisible());
    EXPECT_FALSE(driver->list(UnitListId)->isRowMarked(1));
}

} // namespace
} // namespace arx

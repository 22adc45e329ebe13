// Room files in the window (offscreen) on the application's socket (127.0.160.1) against
// arx-sim on 127.0.160.0/24: a unit of every family and a connected processor.
#include "LoopbackRoom.h"

#include "app/CARNDlg.h"
#include "controls/ControlId.h"
#include "roomfile/RoomComparisonDialog.h"
#include "roomfile/RoomFileJson.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include <thread>

namespace arx::e2e {
namespace {

using arxsim::Bytes;

const std::string Saved = "/nonexistent/Hall.arxroom";

class RoomFileWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        ASSERT_TRUE(room.searchAndSettle(5));
        ASSERT_TRUE(
            room.pumpUntil([&] { return room.deliveredFrom(room.processorAddress()) == 2; }));
        room.discovery.connectRow(0);
        ASSERT_TRUE(room.pumpUntil([&] { return room.store.speaker.rdaConnected != 0; }));

        room.prompts.fileNames.push_back("/nonexistent/Hall");
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(room.files.files.contains(Saved)) << "Ctrl+S adds the suffix";
        EXPECT_EQ(room.prompts.dialogFolders.back(), room.room.presets().dialogFolder());
        room.control.clear();
    }

    RoomComparisonDialog *open(const std::string &path)
    {
        room.prompts.fileNames.push_back(path);
        QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
        return window.findChild<RoomComparisonDialog *>();
    }
    // Nothing more arrives after a pause for whatever is still on its way.
    void expectNothingElseSent(int exceptUnit = 0)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        for (int unit = 1; unit <= 5; ++unit) {
            if (unit != exceptUnit) {
                EXPECT_EQ(room.control.unitSettingFrames(unit), std::vector<Bytes> {})
                    << "unit " << unit;
            }
        }
        EXPECT_EQ(room.control.processorFrames(), std::vector<Bytes> {});
    }
    std::string roomAsSaved() { return roomFileText(roomFileOf(room.store, "", "")); }

    LoopbackRoom room { "127.0.160", { "--units", "1,2,3,4,5", "--level-rate", "0" },
        "e2e-roomfile-window.log" };
    CARNDlg window { room.room, room.transport, room.clock, room.prompts,
        [] { return std::optional<std::string>("127.0.160.1"); } };
};

TEST_F(RoomFileWindow, OpeningShowsEverythingSameThenExactlyTheChangedFieldWhichApplySendsAlone)
{
    RoomComparisonDialog *dialog = open(Saved);
    ASSERT_NE(dialog, nullptr);
    const RoomComparison &comparison = dialog->comparison();
    ASSERT_EQ(comparison.rows.size(), 6u) << "five units and the processor";
    for (const ComparisonRow &row : comparison.rows)
        EXPECT_EQ(row.state, RowState::Same) << "row of slot " << row.slot;
    EXPECT_TRUE(comparison.rows.back().processor);
    expectNothingElseSent();

    // The VEL-K unit's gain is changed at the unit, which reports it.
    ASSERT_TRUE(room.control.setSetting(2, "gain", 5));
    ASSERT_TRUE(room.pumpUntil([&] { return room.store.unitTable[1].gain == 5; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return comparison.rows[1].state == RowState::Differs; }));
    const FieldDifference gain {
        .parameter = "GAIN", .label = "gain", .file = "0dB", .room = "+9dB"
    };
    EXPECT_EQ(comparison.rows[1].differences, std::vector<FieldDifference> { gain });
    EXPECT_EQ(RoomComparisonDialog::differencesText(comparison.rows[1], QStringLiteral("\n")),
        QStringLiteral("gain: file: 0dB, room: +9dB"));
    for (std::size_t row = 0; row < comparison.rows.size(); ++row)
        EXPECT_EQ(dialog->rowChecked(row), row == 1) << "a check box on the row that differs";

    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    QTest::mouseClick(
        findControl<QPushButton>(dialog, RoomComparisonDialog::ApplyButtonId), Qt::LeftButton);
    ASSERT_TRUE(room.control.waitUntil(
        [](arxsim::SimControl &r) { return !r.unitSettingFrames(2).empty(); }));
    const std::vector<Bytes> frames = room.control.unitSettingFrames(2);
    ASSERT_EQ(frames.size(), 1u) << "the VEL-K sequence without its colour frame";
    EXPECT_EQ(frames[0].at(1), 'H');
    EXPECT_EQ(room.control.unit(2).number("gain"), 2) << "0 dB again";
    expectNothingElseSent(2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return comparison.rows[1].state == RowState::Same; }));
    EXPECT_NE(dialog->statusText().indexOf(QStringLiteral("Sent to 1 unit.")), -1)
        << dialog->statusText().toStdString();
}

TEST_F(RoomFileWindow, AFileWithOneValueOutOfRangeIsRefusedAndNothingChanges)
{
    std::string text(room.files.files[Saved].begin(), room.files.files[Saved].end());
    const std::string frequency = "\"b_band3_frequency\": 800";
    ASSERT_NE(text.find(frequency), std::string::npos);
    text.replace(text.find(frequency), frequency.size(), "\"b_band3_frequency\": 30000");
    room.files.files["/nonexistent/Bad.arxroom"].assign(text.begin(), text.end());
    const std::string before = roomAsSaved();

    EXPECT_EQ(open("/nonexistent/Bad.arxroom"), nullptr);
    EXPECT_EQ(room.prompts.shown.back(),
        "The room file \"/nonexistent/Bad.arxroom\" was not opened: processor.b_band3_frequency: "
        "30000 is outside 20..20000. Nothing was changed.");
    EXPECT_EQ(roomAsSaved(), before);
    expectNothingElseSent();
}

} // namespace
} // namespace arx::e2e

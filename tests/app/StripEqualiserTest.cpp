// A PXL2 strip's equaliser button in the main window: it runs the equaliser dialog on the
// strip's unit, and the strip shows what the dialog changed once it closes.
#include "MainWindowFixture.h"

#include "controls/PngButton.h"
#include "mic/CInputeqDlg.h"
#include "mic/CMicDlg.h"

#include <QApplication>
#include <QTimer>

namespace arx::test {
namespace {

constexpr int EqualiserButton = 1143;
constexpr int LowCutToggle = 1125;
constexpr int LowCutSwitch = 1156;
constexpr int Pxl2Slot = 2;

TEST(StripEqualiser, TheButtonRunsTheDialogOnTheUnitAndTheStripFollowsItsChanges)
{
    MainWindow w;
    w.searchAndAnnounceThreeUnits();
    CInputDlg *strip = w.window.micPage()->strip(Pxl2Slot);
    ASSERT_NE(strip, nullptr);
    auto *lowCut = findControl<PngButton>(strip, LowCutToggle);
    auto *equaliser = findControl<PngButton>(strip, EqualiserButton);
    ASSERT_NE(lowCut, nullptr);
    ASSERT_NE(equaliser, nullptr);
    ASSERT_TRUE(equaliser->isVisible()) << "a PXL2 strip shows its equaliser button";
    const int lowCutBefore = w.store->unitTable[Pxl2Slot].lowCut;
    w.link.clear();

    QString caption;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<CInputeqDlg *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "the equaliser runs modally";
        caption = dialog->windowTitle();
        auto *lowCutSwitch = findControl<PngButton>(dialog, LowCutSwitch);
        ASSERT_NE(lowCutSwitch, nullptr);
        QTest::mouseClick(lowCutSwitch, Qt::LeftButton, {}, lowCutSwitch->rect().center());
        dialog->reject();
    });
    w.click(equaliser, equaliser->rect().center());

    EXPECT_EQ(caption, QStringLiteral("EQ"));
    const int lowCutAfter = w.store->unitTable[Pxl2Slot].lowCut;
    EXPECT_NE(lowCutAfter, lowCutBefore) << "the dialog's LOW CUT switch reached the record";
    EXPECT_EQ(lowCut->state(), lowCutAfter) << "the strip shows the record after the dialog";
    EXPECT_FALSE(w.link.frames.empty()) << "the online unit was sent its low cut";
}

} // namespace
} // namespace arx::test

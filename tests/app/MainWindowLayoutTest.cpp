// The main window's shape: size, where every control goes, the lists' set-up, the banner.
#include "MainWindowFixture.h"

#include "app/MainWindowLayout.h"
#include "controls/Artwork.h"
#include "controls/CHeaderCtrlCl.h"
#include "controls/CStaticST.h"
#include "controls/PngButton.h"
#include "mic/CMicDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace arx {
namespace {

using test::MainWindow;

struct Placement {
    int id;
    QRect geometry;
};

// Where the controls of a 1280 x 768 window go.
const Placement StartPlacements[] = {
    { 1000, { 0, 0, 300, 50 } },
    { 1001, { 0, 60, 240, 30 } },
    { 1002, { 240, 60, 240, 30 } },
    { 1003, { 480, 60, 240, 30 } },
    { 1004, { 720, 60, 240, 30 } },
    { 1005, { 960, 120, 320, 638 } },
    { 1006, { 1150, 50, 100, 30 } },
    { 1007, { 1020, 50, 100, 30 } },
    { 1008, { 960, 120, 320, 638 } },
    { 1009, { 960, 120, 320, 150 } },
    { 1401, { 960, 278, 232, 30 } },
    { 1402, { 1200, 278, 80, 30 } },
    { 1403, { 1020, 84, 230, 32 } },
};

TEST(MainWindowLayout, StartsAt1280By768WithEveryControlInItsPlace)
{
    MainWindow fixture;
    EXPECT_EQ(fixture.window.windowTitle(), QStringLiteral("ARX 1.2"));
    EXPECT_EQ(fixture.window.size(), QSize(1280, 768));
    for (const Placement &placement : StartPlacements)
        EXPECT_EQ(fixture.control(placement.id)->geometry(), placement.geometry)
            << "control " << placement.id;
    const QRect pageArea(0, 120, 960, 638);
    EXPECT_EQ(fixture.window.micPage()->geometry(), pageArea);
    EXPECT_EQ(fixture.window.speakerPage()->geometry(), pageArea);
    EXPECT_EQ(fixture.window.routingPage()->geometry(), pageArea);
}

TEST(MainWindowLayout, LaterResizesDoNotMoveTheControls)
{
    MainWindow fixture;
    for (const QSize size : { QSize(900, 600), QSize(1600, 1000) }) {
        fixture.window.resize(size);
        QCoreApplication::processEvents();
        ASSERT_EQ(fixture.window.size(), size) << "the window itself resizes";
        for (const Placement &placement : StartPlacements)
            EXPECT_EQ(fixture.control(placement.id)->geometry(), placement.geometry)
                << "control " << placement.id << " at " << size.width() << " x " << size.height();
        EXPECT_EQ(fixture.window.micPage()->geometry(), QRect(0, 120, 960, 638));
    }
}

TEST(MainWindowLayout, ControlsCarryTheirDialogIdsAndTypes)
{
    MainWindow fixture;
    EXPECT_NE(fixture.control<CStaticST>(1000), nullptr);
    for (int id : { 1001, 1002, 1003, 1004, 1006, 1007, 1402 })
        EXPECT_NE(fixture.control<PngButton>(id), nullptr) << "button " << id;
    for (int id : { 1005, 1008, 1009 })
        EXPECT_NE(fixture.control<CListCtrlCl>(id), nullptr) << "list " << id;
    EXPECT_NE(fixture.control<QLineEdit>(1401), nullptr);
    EXPECT_NE(fixture.control<QLabel>(1403), nullptr);
}

TEST(MainWindowLayout, StartShowsTheMicrophonePageTheUnitListAndThePageButtons)
{
    MainWindow fixture;
    EXPECT_EQ(fixture.window.currentPage(), Page::Mic);
    EXPECT_TRUE(fixture.window.micPage()->isVisible());
    EXPECT_FALSE(fixture.window.speakerPage()->isVisible());
    EXPECT_FALSE(fixture.window.routingPage()->isVisible());
    for (int id : { 1001, 1002, 1003, 1004, 1005, 1006, 1007 })
        EXPECT_TRUE(fixture.control(id)->isVisible()) << "control " << id << " shown";
    for (int id : { 1008, 1009, 1401, 1402 })
        EXPECT_FALSE(fixture.control(id)->isVisible()) << "control " << id << " hidden";
    EXPECT_EQ(fixture.control<PngButton>(1001)->state(), 1) << "MIC selected";
    for (int id : { 1002, 1003, 1004 })
        EXPECT_EQ(fixture.control<PngButton>(id)->state(), 0) << "button " << id;
    EXPECT_EQ(fixture.control<PngButton>(1006)->state(), 0) << "search off";
}

struct ListSetUp {
    int id;
    QStringList captions;
    QString alignments;
    std::vector<int> widths;
};

TEST(MainWindowLayout, DeviceListsHaveTheirColumnsRowsAndHeader)
{
    MainWindow fixture;
    const ListSetUp lists[] = {
        { 1005, { "S/N", "Name", "IP", "Type" }, "1111", { 40, 100, 100, 60 } },
        // Shown in the device column on the ROUTING page, at widths that fit it.
        { 1008, { "Dante ID", "IP", "Name", "Rx", "Tx" }, "01111", { 56, 98, 96, 26, 26 } },
        { 1009, { "RDA IP", "Name", "Port", "Status" }, "0111", { 150, 150, 100, 100 } },
    };
    for (const ListSetUp &expected : lists) {
        SCOPED_TRACE(expected.id);
        CListCtrlCl *list = fixture.list(expected.id);
        ASSERT_EQ(list->columnCount(), expected.captions.size());
        EXPECT_EQ(list->header()->itemTexts(), expected.captions);
        EXPECT_EQ(list->alignmentString(), expected.alignments);
        if (expected.id == 1009) {
            // Wider together than the column it shows in: narrowed in proportion, so that
            // "Status" stays in view beside a scroll bar.
            const int inside = list->width() - 2 * list->frameWidth() - 12;
            int total = 0;
            for (int column = 0; column < 4; ++column) {
                const double share = list->columnWidth(column) / static_cast<double>(inside);
                EXPECT_NEAR(share, expected.widths[static_cast<std::size_t>(column)] / 500.0, 0.03)
                    << "column " << column;
                total += list->columnWidth(column);
            }
            EXPECT_LE(total, inside) << "all four fit";
        } else {
            for (int column = 0; column < list->columnCount(); ++column)
                EXPECT_EQ(
                    list->columnWidth(column), expected.widths[static_cast<std::size_t>(column)])
                    << "column " << column;
        }
        EXPECT_EQ(list->fixedRowHeight(), 30);
        EXPECT_DOUBLE_EQ(list->header()->heightFactor(), 1.3);
        EXPECT_EQ(list->header()->baseColour(), (Rgb { 229, 229, 229 }));
        EXPECT_EQ(list->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(list->rowCount(), 0) << "empty at start";
    }
}

TEST(MainWindowLayout, BannerRunsAcrossTheTopAtItsOwnHeightOverBlack)
{
    MainWindow fixture;
    const QImage banner = pngImage(171);
    ASSERT_EQ(banner.size(), QSize(1280, 50));
    QImage shot = fixture.window.grab().toImage();
    for (const QPoint at : { QPoint(640, 10), QPoint(1275, 45), QPoint(20, 25) })
        EXPECT_EQ(shot.pixelColor(at), banner.pixelColor(at))
            << "banner pixel at " << at.x() << ", " << at.y();
    EXPECT_EQ(shot.pixelColor(400, 105), QColor(Qt::black)) << "black between the controls";

    // Wider: the banner stretches to the new width; below it stays black.
    fixture.window.resize(1600, 900);
    QCoreApplication::processEvents();
    shot = fixture.window.grab().toImage();
    EXPECT_NE(shot.pixelColor(1595, 47), QColor(Qt::black)) << "banner reaches the right edge";
    EXPECT_EQ(shot.pixelColor(1595, 52), QColor(Qt::black)) << "and no lower than 50 pixels";
}

TEST(MainWindowLayout, CarriesTheApplicationIcon)
{
    MainWindow fixture;
    EXPECT_FALSE(fixture.window.windowIcon().isNull());
}

TEST(MainWindowLayout, StatusLineNamesTheLocalAddress)
{
    MainWindow fixture;
    EXPECT_EQ(fixture.control<QLabel>(1403)->text(), QStringLiteral("Local address 127.0.10.1"));

    test::TestRoom other;
    CARNDlg without(other.room, other.link, other.clock, other.prompts,
        [] { return std::optional<std::string>(); });
    EXPECT_EQ(
        findControl<QLabel>(&without, 1403)->text(), QStringLiteral("No local IPv4 address found"));
}

TEST(MainWindowLayout, WindowStartsWithDefaultsAndSendsNothing)
{
    MainWindow fixture;
    EXPECT_DOUBLE_EQ(fixture.store->eulerConstant, computeEulerConstant());
    EXPECT_EQ(fixture.store->speaker.channels[1].ratio, 10) << "SetDefaults ran";
    EXPECT_EQ(fixture.store->unitTable[63].eqBands[3].frequency, 5000);
    EXPECT_TRUE(fixture.link.log.empty()) << "nothing is sent at start";
}

} // namespace
} // namespace arx

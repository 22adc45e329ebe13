// The search button, the unit list, the processor list and the connection, clicked through
// the window and read off the recording link.
#include "MainWindowFixture.h"

#include "controls/PngButton.h"
#include "mic/CMicDlg.h"
#include "protocol/Discovery.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>

namespace arx {
namespace {

using test::MainWindow;
using test::OwnAddress;
using test::ProcessorAddress;
using test::SearchRequest;
using test::unitAddress;

const QString NotConnected = QStringLiteral("未连接");
const QString Connected = QStringLiteral("已连接");
const QString Disconnected = QStringLiteral("已断开");

TEST(MainWindowSearch, PressingSearchSendsTwoRequests100MsApartAndShowsThePressedLook)
{
    MainWindow fixture;
    fixture.click(1006);
    const std::vector<std::string> expected { SearchRequest, "pause 10", "pause 100", SearchRequest,
        "pause 10" };
    EXPECT_EQ(fixture.link.log, expected);
    EXPECT_EQ(fixture.control<PngButton>(1006)->state(), 1) << "pressed look";
    EXPECT_EQ(fixture.control<PngButton>(1006)->shownImage(), 2) << "the 'on' image is shown";
    EXPECT_TRUE(fixture.store->scanActive);
}

TEST(MainWindowSearch, AnnouncementsFillTheRowsInOrderWithTheirFamilies)
{
    MainWindow fixture;
    fixture.searchAndAnnounceThreeUnits();
    ASSERT_EQ(fixture.list(1005)->rowCount(), 3);
    EXPECT_EQ(fixture.rowTexts(1005, 0), QStringList({ "1", "Seat 01", "127.0.10.10", "ARN1" }));
    EXPECT_EQ(fixture.rowTexts(1005, 1), QStringList({ "2", "Seat 02", "127.0.10.11", "VEL-K" }));
    EXPECT_EQ(fixture.rowTexts(1005, 2), QStringList({ "3", "Seat 03", "127.0.10.12", "PXL2" }));
    EXPECT_EQ(fixture.window.micPage()->shownStrips(), (std::vector<int> { 0, 1, 2 }))
        << "every listed unit's strip is asked for";
}

TEST(MainWindowSearch, UnitNamesAreShownDecodedFromGbk)
{
    MainWindow fixture;
    fixture.click(1006);
    fixture.receive(unitAddress(1), test::arn1Announcement("\xBB\xE1\xD2\xE9\xCA\xD2"));
    ASSERT_EQ(fixture.list(1005)->rowCount(), 1);
    EXPECT_EQ(fixture.list(1005)->itemText(0, 1), QStringLiteral("会议室"));
}

TEST(MainWindowSearch, AUnitThatMovesKeepsItsRowWithTheNewAddress)
{
    MainWindow fixture;
    fixture.searchAndAnnounceThreeUnits();
    fixture.receive("127.0.10.40", test::velkAnnouncement("Seat 02"));
    ASSERT_EQ(fixture.list(1005)->rowCount(), 3) << "no new row";
    EXPECT_EQ(fixture.rowTexts(1005, 1), QStringList({ "2", "Seat 02", "127.0.10.40", "VEL-K" }));
}

TEST(MainWindowSearch, StoppingClearsTheRowsReleasesTheButtonAndDetachesTheUnits)
{
    MainWindow fixture;
    fixture.searchAndAnnounceThreeUnits();
    fixture.receive(ProcessorAddress, test::processorAnswer("RDA-SIM"));
    ASSERT_EQ(fixture.list(1009)->rowCount(), 1);
    fixture.link.clear();

    fixture.click(1006);
    EXPECT_EQ(fixture.list(1005)->rowCount(), 0) << "unit rows gone";
    EXPECT_EQ(fixture.list(1009)->rowCount(), 0) << "processor rows gone";
    EXPECT_EQ(fixture.control<PngButton>(1006)->state(), 0) << "released look";
    EXPECT_FALSE(fixture.store->scanActive);
    EXPECT_TRUE(fixture.window.micPage()->shownStrips().empty()) << "strips hidden";
    EXPECT_EQ(fixture.sentTo(unitAddress(1) + ":39030"), 1) << "detach to the ARN1";
    EXPECT_EQ(fixture.sentTo(unitAddress(2) + ":39030"), 1) << "detach to the VEL-K";
    EXPECT_EQ(fixture.sentTo(unitAddress(3) + ":39030"), 1) << "detach to the PXL2";
}

TEST(MainWindowSearch, RestartingEmptiesTheListAndUnitsRegisterAfresh)
{
    MainWindow fixture;
    fixture.searchAndAnnounceThreeUnits();
    fixture.click(1006); // stop
    fixture.click(1006); // start again
    EXPECT_EQ(fixture.list(1005)->rowCount(), 0);
    fixture.receive(unitAddress(3), test::pxl2Announcement("Seat 03"));
    ASSERT_EQ(fixture.list(1005)->rowCount(), 1);
    EXPECT_EQ(fixture.rowTexts(1005, 0), QStringList({ "1", "Seat 03", "127.0.10.12", "PXL2" }))
        << "the first to answer is number 1 now";
}

TEST(MainWindowSearch, DoubleClickOnAUnitRowShowsThatUnitsStrip)
{
    MainWindow fixture;
    fixture.searchAndAnnounceThreeUnits();
    fixture.window.micPage()->hideStrip(1); // the strip's own close button, later
    ASSERT_FALSE(fixture.window.micPage()->isStripShown(1));
    fixture.link.clear();

    fixture.doubleClickRow(1005, 1);
    EXPECT_TRUE(fixture.window.micPage()->isStripShown(1)) << "slot of S/N 2";
    EXPECT_TRUE(fixture.link.log.empty()) << "showing a strip sends nothing";
}

TEST(MainWindowProcessors, AnsweringProcessorIsListedForTheSpeakerPage)
{
    MainWindow fixture;
    fixture.click(1006);
    fixture.receive(ProcessorAddress, test::processorAnswer("RDA-SIM"));
    ASSERT_EQ(fixture.list(1009)->rowCount(), 1);
    EXPECT_EQ(fixture.rowTexts(1009, 0),
        QStringList({ "127.0.10.200", "RDA-SIM", "39060", NotConnected }));
    EXPECT_FALSE(fixture.list(1009)->isVisible()) << "not on the MIC page";

    fixture.click(1002);
    EXPECT_TRUE(fixture.list(1009)->isVisible());
    EXPECT_FALSE(fixture.list(1005)->isVisible()) << "the processors take the units' place";
}

TEST(MainWindowProcessors, DoubleClickConnectsAndTheAnswerShowsConnected)
{
    MainWindow fixture;
    fixture.click(1006);
    fixture.receive(ProcessorAddress, test::processorAnswer("RDA-SIM"));
    fixture.click(1002);
    fixture.link.clear();

    fixture.doubleClickRow(1009, 0);
    EXPECT_EQ(fixture.sentTo(ProcessorAddress + ":39060"), 1) << "one connection request";
    EXPECT_EQ(fixture.store->rdaAddress, ProcessorAddress);
    EXPECT_TRUE(fixture.store->speaker.rdaConnecting) << "retries are timed";

    fixture.receive(ProcessorAddress, test::processorAnswer("RDA-SIM"));
    EXPECT_TRUE(fixture.store->speaker.rdaConnected);
    EXPECT_EQ(fixture.list(1009)->itemText(0, 3), Connected);
    EXPECT_FALSE(fixture.store->speaker.rdaConnecting) << "no more retries";
}

TEST(MainWindowProcessors, StartingAConnectionSelectsTheSpeakerPage)
{
    MainWindow fixture;
    fixture.click(1006);
    fixture.receive(ProcessorAddress, test::processorAnswer("RDA-SIM"));
    ASSERT_EQ(fixture.window.currentPage(), Page::Mic);

    fixture.window.discovery().connectRow(0); // what a double click on the row does
    EXPECT_EQ(fixture.window.currentPage(), Page::Speaker);
    EXPECT_EQ(fixture.control<PngButton>(1002)->state(), 1) << "SPEAKER selected";
    for (int id : { 1001, 1003, 1004 })
        EXPECT_EQ(fixture.control<PngButton>(id)->state(), 0) << "button " << id;
    EXPECT_FALSE(fixture.window.micPage()->isVisible()) << "the microphone page is hidden";
    EXPECT_TRUE(fixture.window.speakerPage()->isVisible());
    EXPECT_TRUE(fixture.list(1009)->isVisible());
}

TEST(MainWindowProcessors, DoubleClickingTheConnectedProcessorSendsNothing)
{
    MainWindow fixture;
    fixture.click(1006);
    fixture.receive(ProcessorAddress, test::processorAnswer("RDA-SIM"));
    fixture.click(1002);
    fixture.doubleClickRow(1009, 0);
    fixture.receive(ProcessorAddress, test::processorAnswer("RDA-SIM"));
    ASSERT_TRUE(fixture.store->speaker.rdaConnected);
    fixture.link.clear();

    fixture.doubleClickRow(1009, 0);
    EXPECT_TRUE(fixture.link.log.empty()) << "already connected: nothing sent";
    EXPECT_FALSE(fixture.store->speaker.rdaConnecting);
    EXPECT_EQ(fixture.list(1009)->itemText(0, 3), Connected);
}

TEST(MainWindowProcessors, ChoosingAnotherProcessorMarksTheFirstDisconnected)
{
    MainWindow fixture;
    fixture.click(1006);
    fixture.receive(ProcessorAddress, test::processorAnswer("RDA-SIM"));
    fixture.receive("127.0.10.201", test::processorAnswer("RDA-2"));
    fixture.click(1002);
    fixture.doubleClickRow(1009, 0);
    fixture.receive(ProcessorAddress, test::processorAnswer("RDA-SIM"));
    fixture.link.clear();

    fixture.doubleClickRow(1009, 1);
    EXPECT_EQ(fixture.list(1009)->itemText(0, 3), Disconnected);
    EXPECT_EQ(fixture.sentTo("127.0.10.201:39060"), 1);
    EXPECT_EQ(fixture.store->rdaAddress, "127.0.10.201");
}

TEST(MainWindowProcessors, TimerRepeatsTheRequestEveryFiveSecondsAndGivesUpAfterThree)
{
    MainWindow fixture;
    fixture.click(1006);
    fixture.receive(ProcessorAddress, test::processorAnswer("RDA-SIM"));
    fixture.click(1002);
    fixture.doubleClickRow(1009, 0);
    ASSERT_EQ(fixture.sentTo(ProcessorAddress + ":39060"), 1);

    // The room's tick does the retrying; the manual clock says how late it is.
    const auto tickOnce = [&] { fixture.room.tick(); };
    fixture.clock.advance(4999);
    tickOnce();
    EXPECT_EQ(fixture.sentTo(ProcessorAddress + ":39060"), 1) << "not yet 5 s";
    fixture.clock.advance(1);
    tickOnce();
    EXPECT_EQ(fixture.sentTo(ProcessorAddress + ":39060"), 2) << "second request at 5 s";
    fixture.clock.advance(5000);
    tickOnce();
    EXPECT_EQ(fixture.sentTo(ProcessorAddress + ":39060"), 3) << "third at 10 s";
    EXPECT_TRUE(fixture.prompts.shown.empty());

    fixture.clock.advance(5000);
    tickOnce();
    EXPECT_EQ(fixture.sentTo(ProcessorAddress + ":39060"), 3) << "no fourth request";
    EXPECT_EQ(fixture.prompts.shown, std::vector<std::string> { CannotConnectMessage });
    EXPECT_FALSE(fixture.store->speaker.rdaConnecting) << "the attempt is over";
    EXPECT_EQ(fixture.control<PngButton>(1006)->state(), 0) << "search button drawn released";
}

TEST(MainWindowProcessors, AddButtonListsAProcessorByAddress)
{
    MainWindow fixture;
    fixture.click(1002);
    auto *field = fixture.control<QLineEdit>(1401);
    QTest::keyClicks(field, QStringLiteral(" 127.0.10.202 "));
    fixture.click(1402);
    ASSERT_EQ(fixture.list(1009)->rowCount(), 1);
    EXPECT_EQ(
        fixture.rowTexts(1009, 0), QStringList({ "127.0.10.202", "", "39060", NotConnected }));
    EXPECT_TRUE(field->text().isEmpty()) << "the field is ready for the next one";
    EXPECT_TRUE(fixture.prompts.shown.empty());
    EXPECT_TRUE(fixture.link.log.empty()) << "adding sends nothing";

    QTest::keyClicks(field, QStringLiteral("127.0.10.203"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(fixture.list(1009)->rowCount(), 2) << "Return adds too";
}

TEST(MainWindowProcessors, MalformedAddressGetsAMessageAndChangesNothing)
{
    for (const QString &text : { QStringLiteral("192.168.0"), QStringLiteral("256.1.1.1"),
             QStringLiteral("rda"), QStringLiteral("") }) {
        SCOPED_TRACE(text.toStdString());
        MainWindow fixture;
        fixture.click(1002);
        auto *field = fixture.control<QLineEdit>(1401);
        QTest::keyClicks(field, text);
        fixture.click(1402);
        EXPECT_EQ(fixture.list(1009)->rowCount(), 0) << "nothing listed";
        ASSERT_EQ(fixture.prompts.shown.size(), 1u) << "one message";
        EXPECT_NE(fixture.prompts.shown[0].find("is not an IPv4 address"), std::string::npos);
        EXPECT_EQ(field->text(), text) << "the text stays to be corrected";
    }
}

} // namespace
} // namespace arx

#include "app/CARNApp.h"
#include "app/CARNDlg.h"
#include "app/DatagramPump.h"
#include "app/MainWindowLayout.h"
#include "controls/ControlId.h"
#include "journal/JournalWindow.h"
#include "mic/CMicDlg.h"
#include "model/Store.h"
#include "seams/Clock.h"

#include "RecordingLink.h"
#include "ScriptedPrompts.h"
#include "TestRoom.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <memory>

namespace arx {
namespace {

TEST(MainWindowShell, ClosingAnnouncesItselfAndSendsNothing)
{
    test::TestRoom room;
    CARNDlg window(room.room, room.link, room.clock, room.prompts);
    window.show();
    QSignalSpy closing(&window, &CARNDlg::closing);
    window.close();
    EXPECT_EQ(closing.count(), 1);
    EXPECT_TRUE(room.link.log.empty());
}

TEST(Application, PresetsLiveInTheDocumentsFolderNeverInTheProgramsOwn)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(presetDocumentsFolder(),
        (documents.isEmpty() ? QDir::homePath() : documents).toStdString());
    EXPECT_NE(presetDocumentsFolder(), QCoreApplication::applicationDirPath().toStdString());
}

// A window shown before its contents: it paints black at its start size, and a close asked for
// meanwhile waits until the contents are there, then happens once, as a close would.
TEST(MainWindowShell, AShellShownFirstGetsItsControlsAndClosesOnlyOnceTheyAreThere)
{
    test::TestRoom room;
    CARNDlg window(room.room, room.link, room.clock, room.prompts, {}, nullptr,
        CARNDlg::Construction::ShellFirst);
    window.show();
    EXPECT_EQ(window.size(), QSize(1280, 768));
    EXPECT_EQ(window.micPage(), nullptr) << "no page before the contents";

    QSignalSpy closing(&window, &CARNDlg::closing);
    window.close();
    EXPECT_TRUE(window.isVisible()) << "not closed before its contents are made";
    EXPECT_EQ(closing.count(), 0);

    window.buildContents();
    ASSERT_NE(window.micPage(), nullptr);
    EXPECT_TRUE(window.micPage()->isVisibleTo(&window)) << "the page shows with the window";
    EXPECT_TRUE(findControl<QWidget>(&window, SearchButtonId)->isVisibleTo(&window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 5000)) << "closed after";
    EXPECT_EQ(closing.count(), 1);
    EXPECT_TRUE(room.link.log.empty());
}

TEST(Application, ClosingTheWindowStopsTheReceiveThreadAndRunReturnsZero)
{
    CARNApp application(StartOptions { QStringLiteral("127.0.2.60") });
    QTimer::singleShot(0, &application.window(), [&] { application.window().close(); });
    EXPECT_EQ(application.run(), 0);
    UdpTransport again;
    EXPECT_TRUE(again.open("127.0.2.60", 39030)) << "the command socket was closed";
}

// The program is its window: closing it ends run() although the journal's window is open.
TEST(Application, ClosingTheWindowEndsRunWhileTheJournalWindowIsOpen)
{
    CARNApp application(StartOptions { QStringLiteral("127.0.2.63") });
    application.journalWindow().show();
    QTimer::singleShot(0, &application.window(), [&] { application.window().close(); });
    bool hangGuard = false; // closes the journal's window too, should run() wait for it
    QTimer::singleShot(5000, &application.journalWindow(), [&] {
        hangGuard = true;
        application.journalWindow().close();
    });
    EXPECT_EQ(application.run(), 0);
    EXPECT_FALSE(hangGuard) << "run() waited for the journal's window";
}

// The program ends right after run() returns, without taking the application apart: by then
// what was queued has gone and the journal file holds its last line.
TEST(Application, WhenRunReturnsTheQueuedFrameHasGoneAndTheJournalFileIsComplete)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("journal.jsonl"));
    CARNApp application(StartOptions { QStringLiteral("127.0.2.61"), path });
    const std::uint8_t frame[] = { 0x25, 0x46, 0x01, 0x23 };
    application.link().send("127.0.2.62", 39030, frame);
    QTimer::singleShot(0, &application.window(), [&] { application.window().close(); });
    EXPECT_EQ(application.run(), 0);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray lines = file.readAll();
    EXPECT_EQ(lines.count('\n'), 1) << lines.toStdString();
    EXPECT_TRUE(lines.contains("\"direction\":\"out\"")) << lines.toStdString();
}

TEST(DatagramPump, HandsEveryDatagramToTheUserInterfaceThread)
{
    UdpTransport transport;
    ASSERT_TRUE(transport.open("127.0.2.40", 39030));
    DatagramPump pump(transport);
    QThread *deliveredOn = nullptr;
    QObject::connect(&pump, &DatagramPump::received, &pump,
        [&](const Datagram &) { deliveredOn = QThread::currentThread(); });
    QSignalSpy received(&pump, &DatagramPump::received);
    pump.start();

    const int peer = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in source {};
    source.sin_family = AF_INET;
    inet_pton(AF_INET, "127.0.2.41", &source.sin_addr);
    ASSERT_EQ(::bind(peer, reinterpret_cast<sockaddr *>(&source), sizeof source), 0);
    sockaddr_in destination {};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(39030);
    inet_pton(AF_INET, "127.0.2.40", &destination.sin_addr);
    const std::uint8_t frame[] = { 0x25, 0x47, 0x07, 0x23 };
    ::sendto(peer, frame, sizeof frame, 0, reinterpret_cast<sockaddr *>(&destination),
        sizeof destination);
    ::close(peer);

    ASSERT_TRUE(received.wait(5000));
    const auto datagram = received.at(0).at(0).value<Datagram>();
    EXPECT_EQ(datagram.length, 4u);
    EXPECT_EQ(datagram.bytes[2], 0x07);
    EXPECT_EQ(datagram.sender, "127.0.2.41");
    EXPECT_EQ(deliveredOn, QCoreApplication::instance()->thread());
    transport.stop();
}

} // namespace
} // namespace arx

#include "app/CARNApp.h"

#include "app/CARNDlg.h"
#include "app/DatagramPump.h"
#include "app/FirstPaint.h"
#include "journal/JournalFile.h"
#include "journal/JournalWindow.h"
#include "model/Store.h"
#include "protocol/CommandSocket.h"
#include "protocol/LocalAddress.h"
#include "protocol/Ports.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace arx {

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("ARX"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ARX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ARX_APPLICATION_ID));
    // Settings are not used; the name is kept for the settings object's sake.
    QCoreApplication::setOrganizationName(QStringLiteral("应用程序向导生成的本地应用程序"));
}

namespace {

// How long the window may take to be seen before its controls are made all the same (a
// window system that does not show it at once).
constexpr std::chrono::milliseconds FirstPaintWait { 200 };

// The journal keeps monotonic times; this turns them into wall-clock time.
std::int64_t wallMinusMonotonicMs(const Clock &clock)
{
    using namespace std::chrono;
    const auto wall = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    return wall.count() - clock.monotonicMs();
}

} // namespace

CARNApp::CARNApp(StartOptions options)
    : store_(std::make_unique<Store>())
    , journal_(wallMinusMonotonicMs(clock_))
    , link_(journal_, *store_, clock_, SendReporting::Observed)
{
    const std::string interfaceAddress = options.interfaceAddress.toStdString();
    localEndpoint_ = (interfaceAddress.empty() ? std::string("0.0.0.0") : interfaceAddress) + ":"
        + std::to_string(LocalPort);
    link_.setNext(paced_);
    // The window shows at once, black at its start size, and gets its banner, controls and
    // pages right after its first paint: the program is seen to start as soon as any window
    // would be.
    window_ = std::make_unique<CARNDlg>(
        *store_, link_, clock_, prompts_,
        [interfaceAddress] { return findLocalAddress(interfaceAddress); }, nullptr,
        CARNDlg::Construction::ShellFirst);
    window_->show();
    waitForFirstPaint(*window_, FirstPaintWait);
    window_->buildContents();
    prompts_.setParent(window_.get());
    // Every sender runs on this thread, so the listener may touch the window directly.
    paced_.setRefusalListener([this](std::size_t dropped) { window_->showFramesDropped(dropped); });
    QObject::connect(window_.get(), &CARNDlg::journalRequested, window_.get(), [this] {
        JournalWindow &journal = journalWindow();
        journal.show();
        journal.raise();
        journal.activateWindow();
    });

    if (!options.journalPath.isEmpty()) {
        const std::string path = options.journalPath.toStdString();
        journalFile_ = std::make_unique<JournalFile>(journal_, path, localEndpoint_);
        if (!journalFile_->isOpen()) {
            const std::string text = "The journal file " + path + " cannot be opened ("
                + journalFile_->error() + "). ARX runs on without it.";
            std::fprintf(stderr, "arx: %s\n", text.c_str());
            journalFile_.reset();
            prompts_.message(text);
        }
    }

    // Datagrams are recorded where they are handled or dropped; only the user-interface
    // thread may read the store, so the receive thread's drops carry no unit.
    transport_.setDropped([this](const Datagram &datagram, DropReason reason, std::size_t length) {
        recordTransportDrop(journal_, clock_, datagram, reason, length);
    });
    pump_ = std::make_unique<DatagramPump>(transport_);
    pump_->setDropped([this](const Datagram &datagram) {
        recordReceived(journal_, nullptr, clock_.monotonicMs(), datagram, DropReason::QueueFull);
    });
    QObject::connect(
        pump_.get(), &DatagramPump::received, window_.get(), [this](const Datagram &datagram) {
            const std::int64_t handled = clock_.monotonicMs();
            link_.holdRecords();
            const Discovery::Received outcome = window_->discovery().received(datagram);
            recordReceived(
                journal_, store_.get(), handled, datagram, outcome.dropped, outcome.slot);
            link_.releaseRecords();
        });
    QObject::connect(
        window_.get(), &CARNDlg::closing, window_.get(), [this] { shutDown(); });
    if (openCommandSocket(transport_, interfaceAddress, prompts_))
        pump_->start();
}

CARNApp::~CARNApp()
{
    // No datagram may reach the pump or the window once they are gone.
    shutDown();
}

JournalWindow &CARNApp::journalWindow()
{
    if (!journalWindow_)
        journalWindow_ = std::make_unique<JournalWindow>(journal_, prompts_, localEndpoint_);
    return *journalWindow_;
}

int CARNApp::run()
{
    // The program is its window: the loop ends when the window closes, whichever other window
    // (the journal) is open. Ending it here also spares Qt's quit, which looks through every
    // top-level widget (each selector's pop-up list among them) for windows still to close.
    QEventLoop loop;
    QObject::connect(window_.get(), &CARNDlg::closing, &loop, &QEventLoop::quit);
    if (window_->isVisible())
        loop.exec();
    shutDown();
    return 0;
}

void CARNApp::shutDown()
{
    // The sender thread needs the socket until the queue has drained.
    paced_.close();
    transport_.stop();
    // Every frame's fate is known now: the file gets its last lines.
    journalFile_.reset();
}

int runToProcessEnd(std::unique_ptr<CARNApp> app)
{
    // Held here, reachable to the end, so that leak checkers see it was kept on purpose.
    static CARNApp *kept = nullptr;
    kept = app.release();
    // The process ends as the window closes, once everything has stopped: hiding the window's
    // thousands of controls one by one, and taking Qt apart after, would only hold it up (the
    // window goes with the process), with one exception: a clipboard the program still owns
    // goes to the desktop's clipboard manager as the application object goes.
    QObject::connect(&kept->window(), &CARNDlg::closing, &kept->window(), [] {
        kept->shutDown();
        if (QGuiApplication::clipboard()->ownsClipboard())
            return;
        std::fflush(nullptr);
        std::_Exit(0);
    });
    return kept->run();
}

} // namespace arx

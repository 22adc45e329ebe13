#include "app/CARNApp.h"

#include "app/CARNDlg.h"
#include "app/FirstPaint.h"
#include "journal/JournalWindow.h"
#include "room/Room.h"

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

} // namespace

CARNApp::CARNApp(StartOptions options)
    : service_(std::make_unique<ArxService>(std::move(options), prompts_, ARX_VERSION))
{
    // The window shows at once, black at its start size, and gets its banner, controls and
    // pages right after its first paint: the program is seen to start as soon as any window
    // would be.
    window_ = std::make_unique<CARNDlg>(service_->room(), service_->link(), service_->clock(),
        prompts_, service_->ownAddress(), nullptr, CARNDlg::Construction::ShellFirst);
    window_->show();
    waitForFirstPaint(*window_, FirstPaintWait);
    window_->buildContents();
    prompts_.setParent(window_.get());
    // Every sender runs on this thread, so the listener may touch the window directly.
    service_->pacedLink().setRefusalListener(
        [this](std::size_t dropped) { window_->showFramesDropped(dropped); });
    QObject::connect(window_.get(), &CARNDlg::journalRequested, window_.get(), [this] {
        JournalWindow &journal = journalWindow();
        journal.show();
        journal.raise();
        journal.activateWindow();
    });
    QObject::connect(
        window_.get(), &CARNDlg::closing, window_.get(), [this] { service_->shutDown(); });
    // A room-control port that cannot be opened leaves the window working without it.
    if (const ArxService::StartFailures failures = service_->start();
        !failures.controlPort.empty()) {
        const std::string text = failures.controlPort + " ARX runs on without it.";
        std::fprintf(stderr, "arx: %s\n", text.c_str());
        prompts_.message(text);
    }
}

CARNApp::~CARNApp()
{
    // No datagram may reach the pump or the window once they are gone.
    service_->shutDown();
}

JournalWindow &CARNApp::journalWindow()
{
    if (!journalWindow_)
        journalWindow_ = std::make_unique<JournalWindow>(
            service_->journal(), prompts_, service_->localEndpoint());
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
    service_->shutDown();
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

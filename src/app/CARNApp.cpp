#include "app/CARNApp.h"

#include "app/CARNDlg.h"
#include "journal/JournalWindow.h"
#include "room/Room.h"

#include <QApplication>

#include <cstdio>

namespace arx {

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("ARX"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ARX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ARX_APPLICATION_ID));
    // Settings are not used; the name is kept for the settings object's sake.
    QCoreApplication::setOrganizationName(QStringLiteral("应用程序向导生成的本地应用程序"));
}

CARNApp::CARNApp(StartOptions options)
    : service_(std::make_unique<ArxService>(std::move(options), prompts_, ARX_VERSION))
{
    window_ = std::make_unique<CARNDlg>(
        service_->room(), service_->link(), service_->clock(), prompts_, service_->ownAddress());
    prompts_.setParent(window_.get());
    // Every sender runs on this thread, so the listener may touch the window directly.
    service_->pacedLink().setRefusalListener(
        [this](std::size_t dropped) { window_->showFramesDropped(dropped); });
    window_->show();
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
    QApplication::exec();
    service_->shutDown();
    return 0;
}

} // namespace arx

#include "app/CARNApp.h"

#include "app/CARNDlg.h"
#include "app/DatagramPump.h"
#include "journal/CaptureFile.h"
#include "journal/JournalFile.h"
#include "journal/JournalWindow.h"
#include "model/Store.h"
#include "protocol/CommandSocket.h"
#include "protocol/LocalAddress.h"
#include "protocol/Ports.h"
#include "room/Room.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace arx {

std::string presetDocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder.toStdString();
}

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("ARX"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ARX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ARX_APPLICATION_ID));
    // Settings are not used; the name is kept for the settings object's sake.
    QCoreApplication::setOrganizationName(QStringLiteral("应用程序向导生成的本地应用程序"));
}

namespace {

// The journal keeps monotonic times; this turns them into wall-clock time.
std::int64_t wallMinusMonotonicMs(const Clock &clock)
{
    using namespace std::chrono;
    const auto wall = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
    return wall.count() - clock.monotonicMs();
}

// A file that follows the journal (--journal, --capture). One that cannot be opened is
// reported on standard error and to the operator, and ARX runs on without it.
template <class File, class... Arguments>
std::unique_ptr<File> openFollower(Journal &journal, Prompts &prompts, const char *what,
    const QString &path, const Arguments &...arguments)
{
    if (path.isEmpty())
        return nullptr;
    const std::string name = path.toStdString();
    auto file = std::make_unique<File>(journal, name, arguments...);
    if (file->isOpen())
        return file;
    const std::string text = std::string("The ") + what + " file " + name + " cannot be opened ("
        + file->error() + "). ARX runs on without it.";
    std::fprintf(stderr, "arx: %s\n", text.c_str());
    prompts.message(text);
    return nullptr;
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
    // Whenever the address the requests carry is looked up, the journal learns it as this end
    // of the datagrams (the address bound to, when one is named).
    const OwnAddressLookup ownAddress = [this, interfaceAddress] {
        const std::optional<std::string> own = findLocalAddress(interfaceAddress);
        journal_.setLocalEndpoint(own.value_or("0.0.0.0"), LocalPort);
        return own;
    };
    room_ = std::make_unique<Room>(RoomSeams { .store = *store_,
        .link = link_,
        .clock = clock_,
        .prompts = prompts_,
        .files = files_,
        .ownAddress = ownAddress,
        .presetFolder = presetDocumentsFolder(),
        .checkIntervalMs = options.checkIntervalSeconds * 1000LL });
    journalEvents_ = std::make_unique<JournalEvents>(journal_, *store_, clock_);
    room_->observers().add(*journalEvents_);
    window_ = std::make_unique<CARNDlg>(*room_, link_, clock_, prompts_, ownAddress);
    prompts_.setParent(window_.get());
    auto *ticker = new QTimer(window_.get());
    QObject::connect(ticker, &QTimer::timeout, window_.get(), [this] { room_->tick(); });
    ticker->start(Room::TickMs);
    // Every sender runs on this thread, so the listener may touch the window directly.
    paced_.setRefusalListener([this](std::size_t dropped) { window_->showFramesDropped(dropped); });
    window_->show();
    QObject::connect(window_.get(), &CARNDlg::journalRequested, window_.get(), [this] {
        JournalWindow &journal = journalWindow();
        journal.show();
        journal.raise();
        journal.activateWindow();
    });

    journalFile_ = openFollower<JournalFile>(
        journal_, prompts_, "journal", options.journalPath, localEndpoint_);
    captureFile_ = openFollower<CaptureFile>(journal_, prompts_, "capture", options.capturePath);

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
            const Discovery::Received outcome = room_->received(datagram);
            recordReceived(
                journal_, store_.get(), handled, datagram, outcome.dropped, outcome.slot);
            link_.releaseRecords();
        });
    QObject::connect(window_.get(), &CARNDlg::closing, window_.get(), [this] { shutDown(); });
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
    QApplication::exec();
    shutDown();
    return 0;
}

void CARNApp::shutDown()
{
    // The sender thread needs the socket until the queue has drained.
    paced_.close();
    transport_.stop();
}

} // namespace arx

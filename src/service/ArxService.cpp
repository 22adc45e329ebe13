#include "service/ArxService.h"

#include "app/DatagramPump.h"
#include "journal/CaptureFile.h"
#include "journal/JournalFile.h"
#include "model/Store.h"
#include "protocol/CommandSocket.h"
#include "protocol/LocalAddress.h"
#include "protocol/Ports.h"
#include "room/Room.h"

#include <QDir>
#include <QStandardPaths>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace arx {

std::string presetDocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder.toStdString();
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

std::string endpointText(const ControlEndpoint &endpoint, std::uint16_t port)
{
    return endpoint.address + ":" + std::to_string(port);
}

} // namespace

ArxService::ArxService(StartOptions options, Prompts &prompts, std::string version)
    : options_(std::move(options))
    , prompts_(prompts)
    , store_(std::make_unique<Store>())
    , journal_(wallMinusMonotonicMs(clock_))
    , link_(journal_, *store_, clock_, SendReporting::Observed)
{
    const std::string interfaceAddress = options_.interfaceAddress.toStdString();
    localEndpoint_ = (interfaceAddress.empty() ? std::string("0.0.0.0") : interfaceAddress) + ":"
        + std::to_string(LocalPort);
    link_.setNext(paced_);
    // Whenever the address the requests carry is looked up, the journal learns it as this end
    // of the datagrams (the address bound to, when one is named).
    ownAddress_ = [this, interfaceAddress] {
        const std::optional<std::string> own = findLocalAddress(interfaceAddress);
        journal_.setLocalEndpoint(own.value_or("0.0.0.0"), LocalPort);
        return own;
    };
    const std::string presetFolder = options_.presetFolder.isEmpty()
        ? presetDocumentsFolder()
        : options_.presetFolder.toStdString();
    room_ = std::make_unique<Room>(RoomSeams { .store = *store_,
        .link = link_,
        .clock = clock_,
        .prompts = prompts_,
        .files = files_,
        .ownAddress = ownAddress_,
        .presetFolder = presetFolder,
        .checkIntervalMs = options_.checkIntervalSeconds * 1000LL,
        .version = version });
    journalEvents_ = std::make_unique<JournalEvents>(journal_, *store_, clock_);
    room_->observers().add(*journalEvents_);
    QObject::connect(&ticker_, &QTimer::timeout, &ticker_, [this] { room_->tick(); });
    ticker_.start(Room::TickMs);

    journalFile_ = openFollower<JournalFile>(
        journal_, prompts_, "journal", options_.journalPath, localEndpoint_);
    captureFile_ = openFollower<CaptureFile>(journal_, prompts_, "capture", options_.capturePath);

    // Datagrams are recorded where they are handled or dropped; only this thread may read
    // the store, so the receive thread's drops carry no unit.
    transport_.setDropped([this](const Datagram &datagram, DropReason reason, std::size_t length) {
        recordTransportDrop(journal_, clock_, datagram, reason, length);
    });
    pump_ = std::make_unique<DatagramPump>(transport_);
    pump_->setDropped([this](const Datagram &datagram) {
        recordReceived(journal_, nullptr, clock_.monotonicMs(), datagram, DropReason::QueueFull);
    });
    QObject::connect(
        pump_.get(), &DatagramPump::received, pump_.get(), [this](const Datagram &datagram) {
            const std::int64_t handled = clock_.monotonicMs();
            link_.holdRecords();
            const Discovery::Received outcome = room_->received(datagram);
            recordReceived(
                journal_, store_.get(), handled, datagram, outcome.dropped, outcome.slot);
            link_.releaseRecords();
        });
    if (options_.control)
        controlServer_ = std::make_unique<ControlServer>(
            *room_, clientFrames_, *options_.control, std::move(version));
}

ArxService::~ArxService()
{
    // No datagram may reach the pump or the room once they are gone.
    shutDown();
}

ArxService::StartFailures ArxService::start()
{
    StartFailures failures;
    const std::string interfaceAddress = options_.interfaceAddress.toStdString();
    if (openCommandSocket(transport_, interfaceAddress, prompts_)) {
        pump_->start();
    } else {
        failures.commandSocket = "The command socket, UDP port " + std::to_string(LocalPort)
            + " on " + (interfaceAddress.empty() ? std::string("every address") : interfaceAddress)
            + ", cannot be opened (" + std::strerror(errno) + ").";
    }

    if (controlServer_) {
        const ControlServerOptions &control = *options_.control;
        std::string error;
        if (controlServer_->listen(error)) {
            const std::string where = endpointText(control.endpoint, controlServer_->port());
            std::fprintf(stderr, "arx: room control on %s\n", where.c_str());
            if (!isLoopbackIPv4(control.endpoint.address))
                std::fprintf(stderr,
                    "arx: warning: the room-control port %s has no authentication; anyone on "
                    "the allowed networks can change the room, reset the processor or stop the "
                    "search\n",
                    where.c_str());
        } else {
            failures.controlPort = "The room-control port "
                + endpointText(control.endpoint, control.endpoint.port) + " cannot be opened ("
                + error + ").";
            controlServer_.reset();
        }
    }
    if (options_.search)
        room_->discovery().startSearch();
    return failures;
}

void ArxService::shutDown()
{
    // The sender thread needs the socket until the queue has drained.
    paced_.close();
    transport_.stop();
    // Every frame's fate is known now: the files get their last entries.
    journalFile_.reset();
    captureFile_.reset();
}

} // namespace arx

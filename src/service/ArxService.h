#pragma once

#include "control/ClientFrames.h"
#include "journal/Journal.h"
#include "journal/JournalEvents.h"
#include "journal/JournalRecording.h"
#include "protocol/Discovery.h"
#include "protocol/PacedLink.h"
#include "protocol/UdpTransport.h"
#include "room/RoomCheck.h"
#include "seams/Clock.h"
#include "seams/Files.h"
#include "seams/Prompts.h"
#include "seams/SendObservers.h"
#include "service/ControlServer.h"

#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

namespace arx {

class CaptureFile;
class DatagramPump;
class JournalFile;
class Room;
struct Store;

// Where presets and room files live unless the command line says otherwise: the operator's
// documents folder (the home folder when the desktop names none). The program's own folder
// is no place for them: it is a build folder that a clean deletes, or a system folder once
// installed.
std::string presetDocumentsFolder();

struct StartOptions {
    QString interfaceAddress; // empty: any local address
    QString journalPath = {}; // --journal: every entry of the traffic journal appended here
    QString capturePath = {}; // --capture: every datagram written here as a capture file
    QString presetFolder = {}; // --preset-folder; empty: presetDocumentsFolder()
    // --control: the room-control port, none unless asked for (the command line asks for
    // 127.0.0.1:39100 unless told --control none).
    std::optional<ControlServerOptions> control = std::nullopt;
    bool search = false; // --search: the search starts at launch
    // --check-interval: seconds between automatic room checks; 0 for none.
    int checkIntervalSeconds = RoomCheck::DefaultIntervalSeconds;
};

// ARX without its window: the store, the seams, the command socket with its receive thread,
// the journal and its files, the journaling and paced links, the room with its 100 ms tick,
// and the room-control port. QtCore and QtNetwork only; the window is built on top of it,
// and `arx --headless` runs it alone. Runs on the thread that makes it, which must run a Qt
// event loop.
class ArxService {
public:
    // Builds everything; nothing is bound until start().
    ArxService(StartOptions options, Prompts &prompts, std::string version);
    // Shuts down as shutDown() does.
    ~ArxService();
    ArxService(const ArxService &) = delete;
    ArxService &operator=(const ArxService &) = delete;

    // What start() could not open, each with its reason; empty when it opened.
    struct StartFailures {
        std::string commandSocket; // UDP 39030
        std::string controlPort;
        bool any() const { return !commandSocket.empty() || !controlPort.empty(); }
    };
    // Opens the command socket and starts receiving ("Winsock error!" is told when it cannot
    // be), opens the room-control port (telling on standard error where it listens, and
    // warning when others than this computer can reach it), then starts the search when asked
    // to.
    StartFailures start();

    // The frames still queued go out (for at most PacedLink::DrainLimit), then the sender
    // thread, the receive thread and the socket stop in that order. Nothing new is sent
    // afterwards. Safe to call twice.
    void shutDown();

    Store &store() { return *store_; }
    Room &room() { return *room_; }
    const Clock &clock() const { return clock_; }
    Journal &journal() { return journal_; }
    // The link everything sends through: the journal's, on the paced link.
    Link &link() { return link_; }
    PacedLink &pacedLink() { return paced_; }
    const OwnAddressLookup &ownAddress() const { return ownAddress_; }
    // This end of the datagrams as ADDRESS:PORT (0.0.0.0 when bound to every address).
    const std::string &localEndpoint() const { return localEndpoint_; }
    // Nothing when the port is switched off.
    ControlServer *controlServer() { return controlServer_.get(); }

private:
    StartOptions options_;
    Prompts &prompts_;
    std::unique_ptr<Store> store_;
    SystemClock clock_;
    SystemFiles files_;
    UdpTransport transport_;
    Journal journal_;
    // Every frame is recorded here, then queued on the paced link, which reports back to the
    // journal when the frame has really left, and to the clients' count of waiting frames.
    JournalingLink link_;
    ClientFrames clientFrames_;
    SendObserverPair sendReports_ { link_, clientFrames_ };
    PacedLink paced_ { transport_, &sendReports_ };
    std::unique_ptr<JournalFile> journalFile_;
    std::unique_ptr<CaptureFile> captureFile_;
    std::string localEndpoint_;
    OwnAddressLookup ownAddress_;
    // What the room check finds goes into the journal too; it outlives the room it observes.
    std::unique_ptr<JournalEvents> journalEvents_;
    std::unique_ptr<Room> room_;
    std::unique_ptr<DatagramPump> pump_;
    QTimer ticker_;
    std::unique_ptr<ControlServer> controlServer_;
};

} // namespace arx

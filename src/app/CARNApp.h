#pragma once

#include "app/QtPrompts.h"
#include "journal/Journal.h"
#include "journal/JournalRecording.h"
#include "protocol/UdpTransport.h"
#include "seams/Clock.h"

#include <QString>

#include <memory>

namespace arx {

class CARNDlg;
class DatagramPump;
class JournalFile;
class JournalWindow;
struct Store;

// The names Qt gives the program: "ARX", the project's version (what --version prints) and
// the desktop entry's id, which the window carries (the Wayland app id, the X11 desktop-file
// property) so that docks and task switchers show the entry's icon. Works before the
// application object exists.
void nameTheApplication();

struct StartOptions {
    QString interfaceAddress; // empty: any local address
    QString journalPath = {}; // --journal: every entry of the traffic journal appended here
};

// The application object: makes the store, the seams and the main window, opens the
// command socket and starts the receive thread, runs the window until it closes and then
// stops the receive thread. Nothing is sent at shutdown.
class CARNApp {
public:
    // Everything is up when this returns: the window shown, the socket open (or the
    // operator told why not), datagrams flowing to the window.
    explicit CARNApp(StartOptions options);
    ~CARNApp();
    CARNApp(const CARNApp &) = delete;
    CARNApp &operator=(const CARNApp &) = delete;

    CARNDlg &window() { return *window_; }
    const Journal &journal() const { return journal_; }
    // The store and the link every window sends through (the journal's on the transport).
    Store &store() { return *store_; }
    Link &link() { return link_; }
    // The journal's window, made when first asked for.
    JournalWindow &journalWindow();

    // Runs the event loop until the window closes.
    int run();

private:
    std::unique_ptr<Store> store_;
    SystemClock clock_;
    QtPrompts prompts_;
    UdpTransport transport_;
    Journal journal_;
    // Every frame the windows send goes through it to the transport.
    JournalingLink link_;
    std::unique_ptr<JournalFile> journalFile_;
    std::unique_ptr<CARNDlg> window_;
    std::unique_ptr<DatagramPump> pump_;
    std::unique_ptr<JournalWindow> journalWindow_;
    std::string localEndpoint_;
};

} // namespace arx

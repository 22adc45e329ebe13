#pragma once

#include "app/QtPrompts.h"
#include "journal/Journal.h"
#include "journal/JournalRecording.h"
#include "protocol/PacedLink.h"
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
// command socket, starts the sender and receive threads and runs the window until it
// closes. Then the frames still queued go out (for at most PacedLink::DrainLimit), the
// sender thread, the receive thread and the socket stop in that order, and the journal file
// is written to its end and closed. Nothing new is sent at shutdown.
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
    Store &store() { return *store_; }
    // The link every window sends through: the journal's, on the paced link.
    Link &link() { return link_; }
    PacedLink &pacedLink() { return paced_; }
    // The journal's window, made when first asked for.
    JournalWindow &journalWindow();

    // Runs the event loop until the window closes (even while other windows are open).
    int run();

    // Sends what is queued (for at most PacedLink::DrainLimit), stops the threads, closes the
    // socket and the journal file. The window's close does it; safe to call again.
    void shutDown();

private:
    std::unique_ptr<Store> store_;
    SystemClock clock_;
    QtPrompts prompts_;
    UdpTransport transport_;
    Journal journal_;
    // Every frame the windows send is recorded here, then queued on the paced link, which
    // reports back to it when the frame has really left.
    JournalingLink link_;
    PacedLink paced_{transport_, &link_};
    std::unique_ptr<JournalFile> journalFile_;
    std::unique_ptr<CARNDlg> window_;
    std::unique_ptr<DatagramPump> pump_;
    std::unique_ptr<JournalWindow> journalWindow_;
    std::string localEndpoint_;
};

// Runs `app` (CARNApp::run) and ends the process as its window closes, as soon as nothing of
// it has work left (frames sent, threads stopped, socket and journal file closed): the window
// and its thousands of widgets go with the process instead of being hidden and taken apart
// one by one. Only while the program owns the clipboard does the window close as usual and
// the status come back, so that the caller's QApplication hands the clipboard on as it goes.
int runToProcessEnd(std::unique_ptr<CARNApp> app);

} // namespace arx

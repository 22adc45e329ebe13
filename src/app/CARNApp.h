#pragma once

#include "app/QtPrompts.h"
#include "service/ArxService.h"

#include <memory>

namespace arx {

class CARNDlg;
class JournalWindow;

// The names Qt gives the program: "ARX", the project's version (what --version prints) and
// the desktop entry's id, which the window carries (the Wayland app id, the X11 desktop-file
// property) so that docks and task switchers show the entry's icon. Works before the
// application object exists.
void nameTheApplication();

// The application object: the service (store, seams, sockets, threads, room, room-control
// port) with the main window on top, run until the window closes. Then the frames still
// queued go out (for at most PacedLink::DrainLimit), and the sender thread, the receive
// thread and the socket stop in that order. Nothing new is sent at shutdown.
class CARNApp {
public:
    // Everything is up when this returns: the window shown, the sockets open (or the
    // operator told why not), datagrams flowing to the window.
    explicit CARNApp(StartOptions options);
    ~CARNApp();
    CARNApp(const CARNApp &) = delete;
    CARNApp &operator=(const CARNApp &) = delete;

    CARNDlg &window() { return *window_; }
    ArxService &service() { return *service_; }
    const Journal &journal() const { return service_->journal(); }
    Store &store() { return service_->store(); }
    Room &room() { return service_->room(); }
    // The link every window sends through: the journal's, on the paced link.
    Link &link() { return service_->link(); }
    PacedLink &pacedLink() { return service_->pacedLink(); }
    // The journal's window, made when first asked for.
    JournalWindow &journalWindow();

    // Runs the event loop until the window closes (even while other windows are open).
    int run();

    // Sends what is queued (for at most PacedLink::DrainLimit), stops the threads, closes the
    // socket and the journal's files. The window's close does it; safe to call again.
    void shutDown();

private:
    QtPrompts prompts_;
    // The service outlives the windows that observe its room.
    std::unique_ptr<ArxService> service_;
    std::unique_ptr<CARNDlg> window_;
    std::unique_ptr<JournalWindow> journalWindow_;
};

// Runs `app` (CARNApp::run) and ends the process as its window closes, as soon as nothing of
// it has work left (frames sent, threads stopped, socket and journal files closed): the window
// and its thousands of widgets go with the process instead of being hidden and taken apart
// one by one. Only while the program owns the clipboard does the window close as usual and
// the status come back, so that the caller's QApplication hands the clipboard on as it goes.
int runToProcessEnd(std::unique_ptr<CARNApp> app);

} // namespace arx

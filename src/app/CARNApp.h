#pragma once

#include "app/QtPrompts.h"
#include "protocol/UdpTransport.h"
#include "seams/Clock.h"

#include <QString>

#include <memory>

namespace arx {

class CARNDlg;
class DatagramPump;
struct Store;

// The names Qt gives the program: "ARX", the project's version (what --version prints) and
// the desktop entry's id, which the window carries (the Wayland app id, the X11 desktop-file
// property) so that docks and task switchers show the entry's icon. Works before the
// application object exists.
void nameTheApplication();

struct StartOptions {
    QString interfaceAddress; // empty: any local address
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

    // Runs the event loop until the window closes.
    int run();

private:
    std::unique_ptr<Store> store_;
    SystemClock clock_;
    QtPrompts prompts_;
    UdpTransport transport_;
    std::unique_ptr<CARNDlg> window_;
    std::unique_ptr<DatagramPump> pump_;
};

} // namespace arx

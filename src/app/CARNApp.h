#pragma once

#include "app/QtPrompts.h"
#include "protocol/PacedLink.h"
#include "protocol/UdpTransport.h"
#include "seams/Clock.h"

#include <QString>

#include <memory>

namespace arx {

class CARNDlg;
class DatagramPump;
struct Store;

struct StartOptions {
    QString interfaceAddress; // empty: any local address
};

// The application object: makes the store, the seams and the main window, opens the
// command socket, starts the sender and receive threads and runs the window until it
// closes. Then the frames still queued go out (for at most PacedLink::DrainLimit), and the
// sender thread, the receive thread and the socket stop in that order. Nothing new is sent
// at shutdown.
class CARNApp {
public:
    // Everything is up when this returns: the window shown, the socket open (or the
    // operator told why not), datagrams flowing to the window.
    explicit CARNApp(StartOptions options);
    ~CARNApp();
    CARNApp(const CARNApp &) = delete;
    CARNApp &operator=(const CARNApp &) = delete;

    CARNDlg &window() { return *window_; }
    PacedLink &link() { return link_; }

    // Runs the event loop until the window closes.
    int run();

private:
    void shutDown();

    std::unique_ptr<Store> store_;
    SystemClock clock_;
    QtPrompts prompts_;
    UdpTransport transport_;
    PacedLink link_{transport_};
    std::unique_ptr<CARNDlg> window_;
    std::unique_ptr<DatagramPump> pump_;
};

} // namespace arx

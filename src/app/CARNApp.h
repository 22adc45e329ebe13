#pragma once

#include <QString>

namespace arx {

struct StartOptions {
    QString interfaceAddress; // empty: any local address
};

// The application object: makes the store, the seams and the main window, runs the
// window until it closes and then stops the receive thread. Nothing is sent at shutdown.
class CARNApp {
public:
    explicit CARNApp(StartOptions options) : options_(std::move(options)) {}
    int run();

private:
    StartOptions options_;
};

} // namespace arx

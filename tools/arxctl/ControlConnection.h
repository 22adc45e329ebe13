#pragma once

#include "control/ControlSyntax.h"

#include <QTcpSocket>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace arxctl {

// One message from ARX: REP, SAMPLE or ERR, its index and parameter, and the words after.
struct Message {
    std::string line; // as it came, without its line end
    std::string kind;
    std::string index;
    std::string parameter;
    std::vector<arx::ControlToken> values;

    // The words after the parameter, quoted ones as their text: "+6dB", "Seat 04", an ERR's
    // reason.
    std::string valueText() const;
};
std::optional<Message> readMessage(const std::string &line);

// A blocking client of ARX's room-control port, one line at a time.
class ControlConnection {
public:
    // Connects within `timeout`; false with the reason.
    bool open(
        const QString &host, quint16 port, std::chrono::milliseconds timeout, std::string &error);
    bool sendLine(const std::string &line);
    // The next message within `timeout`; nothing on a time-out or when ARX closed the connection
    // (`closed` tells which). Lines that are no message are skipped.
    std::optional<Message> next(std::chrono::milliseconds timeout, bool &closed);

private:
    QTcpSocket socket_;
    std::string pending_;
};

} // namespace arxctl

#pragma once

#include "protocol/Datagram.h"
#include "protocol/UdpTransport.h"

#include <QObject>

namespace arx {

// Carries every datagram from the receive thread to the thread this object lives on (the
// user-interface thread), where the parser may touch the store and the windows safely.
class DatagramPump final : public QObject {
    Q_OBJECT
public:
    explicit DatagramPump(UdpTransport &transport, QObject *parent = nullptr);
    void start();

signals:
    void received(const arx::Datagram &datagram);

private:
    UdpTransport &transport_;
};

} // namespace arx

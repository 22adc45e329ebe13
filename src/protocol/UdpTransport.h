#pragma once

#include "protocol/Datagram.h"
#include "protocol/DropReason.h"
#include "seams/Link.h"

#include <functional>
#include <string>
#include <thread>

namespace arx {

// The program's one UDP socket and the thread that receives on it. The thread blocks on
// the socket and a stop descriptor together, so it costs nothing while idle and stops at
// once; each datagram of 1..128 bytes is handed to `deliver` on that thread, which must
// pass it on to the user-interface thread.
class UdpTransport final : public Link {
public:
    using Deliver = std::function<void(const Datagram &)>;
    // A datagram the transport drops (empty or over-long), with its real length; on the
    // receive thread. The datagram holds its first 128 bytes at most.
    using Dropped = std::function<void(const Datagram &, DropReason, std::size_t length)>;

    UdpTransport();
    ~UdpTransport() override;
    UdpTransport(const UdpTransport &) = delete;
    UdpTransport &operator=(const UdpTransport &) = delete;

    // Binds to the given local IPv4 address (empty: any address). False when the socket
    // cannot be made or bound; the transport then stays closed and every send fails.
    bool open(const std::string &bindAddress, std::uint16_t port);
    bool isOpen() const { return socket_ >= 0; }

    // Makes multicast leave from the interface that holds this local address.
    bool setMulticastInterface(const std::string &localAddress);

    void start(Deliver deliver);
    // Before start(): who hears of the datagrams the transport drops.
    void setDropped(Dropped dropped) { dropped_ = std::move(dropped); }

    // Wakes the receive thread, joins it and closes the socket. Safe to call twice.
    void stop();

    bool send(const std::string &address, std::uint16_t port,
              std::span<const std::uint8_t> bytes) override;
    void pause(int milliseconds) override;

    // The receive thread's id (set before start() returns), for measuring its wake-ups.
    int receiveThreadId() const { return receiveThreadId_; }

private:
    void receiveLoop();

    int socket_ = -1;
    int stopEvent_ = -1;
    Deliver deliver_;
    Dropped dropped_;
    std::thread thread_;
    int receiveThreadId_ = 0;
};

} // namespace arx

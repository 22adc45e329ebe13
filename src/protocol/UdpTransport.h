#pragma once

#include "protocol/Datagram.h"
#include "protocol/DropReason.h"
#include "seams/Link.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <thread>

namespace arx {

class DatagramReader;

// The program's one UDP socket and the thread that receives on it. The thread blocks on
// the socket and a stop descriptor together, so it costs nothing while idle and stops at
// once. Woken by a datagram, it lets GatherTime pass, then reads whatever is waiting in
// batches of up to ReceiveBatch datagrams with one call, and hands the datagrams of 1..128
// bytes of each batch, in order, to `deliver` on that thread, which must pass them on to the
// user-interface thread.
class UdpTransport final : public Link {
public:
    static constexpr std::size_t ReceiveBatch = 64;
    // While datagrams stream in, one read then takes all that came meanwhile, and the
    // user-interface thread is woken once for them, instead of both threads once for each
    // datagram. A reply waits this much longer; nothing wakes while the socket is quiet.
    static constexpr std::chrono::microseconds GatherTime { 50 };

    using Deliver = std::function<void(const Datagram &)>;
    using DeliverBatch = std::function<void(std::span<const Datagram>)>;
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

    // Hands over one datagram at a time, or each batch in one call.
    void start(Deliver deliver);
    void startBatches(DeliverBatch deliver);
    // Before start(): who hears of the datagrams the transport drops.
    void setDropped(Dropped dropped) { dropped_ = std::move(dropped); }

    // Wakes the receive thread, joins it and closes the socket. Safe to call twice.
    void stop();

    // Sends one datagram now; 0, or the errno of the failure, which is also counted. Safe
    // on any thread while the socket is open. The program's senders go through `PacedLink`.
    int sendDatagram(const std::string &address, std::uint16_t port,
                     std::span<const std::uint8_t> bytes);
    // Sends that failed since the start.
    std::size_t sendErrors() const { return sendErrors_.load(); }

    // As a `Link` the transport sends at once and sleeps on the caller's thread: for tools
    // and tests that want each frame on the wire when the call returns.
    bool send(const std::string &address, std::uint16_t port,
              std::span<const std::uint8_t> bytes) override;
    void pause(int milliseconds) override;

    // The receive thread's id (set before start() returns), for measuring its wake-ups.
    int receiveThreadId() const { return receiveThreadId_; }

private:
    void receiveLoop();
    void deliverBatch(DatagramReader &reader, std::size_t read);

    int socket_ = -1;
    int stopEvent_ = -1;
    DeliverBatch deliver_;
    Dropped dropped_;
    std::thread thread_;
    int receiveThreadId_ = 0;
    std::atomic<std::size_t> sendErrors_{0};
};

} // namespace arx

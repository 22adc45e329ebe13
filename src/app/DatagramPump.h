#pragma once

#include "protocol/Datagram.h"
#include "protocol/UdpTransport.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <span>
#include <vector>

namespace arx {

// Carries every datagram from the receive thread to the thread this object lives on (the
// user-interface thread), where the parser may touch the store and the windows safely.
// The receive thread hands over each batch it read under one lock; the datagrams wait in a
// bounded queue: while the UI thread is busy, a flood costs a fixed amount of memory, and
// what does not fit is dropped, as a full socket buffer would. Each posted call takes all
// that waits at once, hands datagrams over for at most DrainSlice and posts itself again
// for the rest, so that a flood cannot keep the event loop from its timers and input.
class DatagramPump final : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t Capacity = 4096;
    static constexpr std::chrono::milliseconds DrainSlice { 3 };

    explicit DatagramPump(UdpTransport &transport, QObject *parent = nullptr);
    // Stops the transport: its receive thread calls into this object.
    ~DatagramPump() override;
    void start();
    // Before start(): who hears of each datagram dropped because the queue was full, on the
    // receive thread.
    void setDropped(std::function<void(const Datagram &)> dropped)
    {
        onDropped_ = std::move(dropped);
    }

    // Datagrams dropped because the queue was full, since the start.
    std::size_t droppedCount() const { return dropped_.load(); }
    // Datagrams waiting for the UI thread.
    std::size_t pendingCount() const;

signals:
    void received(const arx::Datagram &datagram);

private:
    void enqueue(std::span<const Datagram> batch); // receive thread
    void drain(); // UI thread

    UdpTransport &transport_;
    mutable std::mutex mutex_;
    // The receive thread appends here; the UI thread swaps it for the emptied `handing_`,
    // so that neither allocates once both have grown.
    std::vector<Datagram> incoming_;
    bool drainPosted_ = false;
    // UI thread: what it took and has not handed over yet.
    std::vector<Datagram> handing_;
    std::size_t handed_ = 0;
    // handing_.size() - handed_; read by the receive thread for the bound.
    std::atomic<std::size_t> handingLeft_ { 0 };
    std::atomic<std::size_t> dropped_ { 0 };
    std::function<void(const Datagram &)> onDropped_;
};

} // namespace arx

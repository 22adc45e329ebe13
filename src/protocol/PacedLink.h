#pragma once

#include "protocol/UdpTransport.h"
#include "seams/Link.h"
#include "seams/SendObserver.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace arx {

// The production link: `send` and `pause` append to one queue and return at once; a sender
// thread takes the frames in order, sends each from the transport's socket and keeps every
// pause between the frames on the wire, counted from the end of the previous send. One
// queue for every caller keeps the order of frames and pauses exactly as they were issued.
// The sender thread sleeps on a condition variable while the queue is empty.
//
// The queue holds at most `capacity` frames; a pause belongs to the frame before it and
// costs no place. A frame that does not fit is refused (counted, the observer told), and so
// is the pause that follows it. `sendUnlessWaiting` does not queue a frame again, nor its
// pause, while an identical one sent the same way still waits to be taken.
class PacedLink final : public Link {
public:
    static constexpr std::size_t DefaultCapacity = 4096;
    static constexpr std::chrono::milliseconds DrainLimit { 2000 };

    // Called on the caller's thread after a refusal, with the refusals so far.
    using RefusalListener = std::function<void(std::size_t refused)>;

    // Starts the sender thread. The transport must stay open until `close` has returned.
    explicit PacedLink(UdpTransport &transport, SendObserver *observer = nullptr,
        std::size_t capacity = DefaultCapacity);
    // Closes with the default drain limit.
    ~PacedLink() override;
    PacedLink(const PacedLink &) = delete;
    PacedLink &operator=(const PacedLink &) = delete;

    bool send(const std::string &address, std::uint16_t port,
        std::span<const std::uint8_t> bytes) override;
    bool sendUnlessWaiting(const std::string &address, std::uint16_t port,
        std::span<const std::uint8_t> bytes) override;
    void pause(int milliseconds) override;
    // Completed by the sender thread when the frame queued last has left; at once when
    // nothing waits.
    std::shared_ptr<const SendFence> fence(std::int64_t nowMs) override;

    // Refuses every later frame, lets the sender thread send what is queued (with its
    // pauses) for at most `drainLimit`, drops the rest and joins the thread. Frames dropped
    // here are reported to the observer as sent with ECANCELED. Safe to call twice.
    void close(std::chrono::milliseconds drainLimit = DrainLimit);

    void setRefusalListener(RefusalListener listener);

    std::size_t refusedCount() const;
    std::size_t waitingFrames() const;
    // The most frames that have waited at once since the start.
    std::size_t mostWaitingFrames() const;
    // The sender thread's id, for measuring its wake-ups.
    int senderThreadId() const { return senderThreadId_; }

private:
    using TimePoint = std::chrono::steady_clock::time_point;

    struct Entry {
        std::uint64_t ticket = 0;
        std::string address;
        std::uint16_t port = 0;
        std::vector<std::uint8_t> bytes;
        int pauseAfterMs = 0;
        bool indexed = false; // counted in waitingOnce_
    };

    bool enqueue(const std::string &address, std::uint16_t port,
        std::span<const std::uint8_t> bytes, bool unlessWaiting);
    void run();
    void forget(Entry &entry); // no longer waiting: out of the merge index
    // Every fence behind `ticket` and the frames before it completes at `atMs`.
    void completeFences(std::uint64_t ticket, std::int64_t atMs);

    UdpTransport &transport_;
    SendObserver *observer_;
    const std::size_t capacity_;

    mutable std::mutex mutex_;
    std::condition_variable wake_; // the sender: a frame came, or close
    std::condition_variable drained_; // close: the queue ran empty
    std::deque<Entry> queue_; // the front stays while it is being sent
    // Frames sent with sendUnlessWaiting that wait, by address, port and bytes.
    std::unordered_map<std::string, int> waitingOnce_;
    // Fences in the order they were placed, each behind the ticket of the frame queued last.
    std::deque<std::pair<std::uint64_t, std::shared_ptr<SendFence>>> fences_;
    TimePoint notBefore_; // the earliest moment the next frame may go
    bool lastDropped_ = false; // the last frame was refused or merged: its pauses go too
    bool closed_ = false; // no frame is accepted any more
    bool abandon_ = false; // the drain time is over: drop what is left
    std::uint64_t tickets_ = 0;
    std::size_t refused_ = 0;
    std::size_t mostWaiting_ = 0;
    RefusalListener onRefused_;

    std::thread thread_;
    int senderThreadId_ = 0;
};

} // namespace arx

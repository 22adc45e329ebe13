#pragma once

#include <cstdint>

namespace arx {

// What happened to each frame given to the paced link, for whoever keeps a record of the
// traffic. Tickets number the frames in the order `send` was called, from 1.
enum class SendOutcome {
    Queued,  // waits in the queue and will be sent
    Merged,  // an identical attach frame still waits; this one is not queued again
    Refused, // the queue was full; the frame is dropped
};

class SendObserver {
public:
    virtual ~SendObserver() = default;

    // On the caller's thread, before `send` returns.
    virtual void queued(std::uint64_t ticket, SendOutcome outcome) = 0;

    // On the sender thread, once the datagram has gone (error 0) or failed (an errno value).
    // Monotonic milliseconds, on the same clock as `Clock::monotonicMs`.
    virtual void sent(std::uint64_t ticket, std::int64_t monotonicMs, int error) = 0;
};

} // namespace arx

#pragma once

#include "seams/SendFence.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace arx {

// Where every frame and every pacing pause goes, in the order the callers issue them.
// Production queues both for a sender thread (`PacedLink`), which keeps each pause between
// the frames on the wire while the caller returns at once; tests record the sequence.
class Link {
public:
    virtual ~Link() = default;

    // Takes one datagram for sending. True when the link accepted it: it will go out in
    // order, but may not have gone yet. False when it was refused (a full queue, a closed
    // link). Errors at the socket itself (an unusable address among them) come later, on the
    // sending side, and are counted there rather than reported here.
    virtual bool send(const std::string &address, std::uint16_t port,
                      std::span<const std::uint8_t> bytes) = 0;

    // As `send`, for a frame whose repetition changes nothing (the attach frame that answers
    // an announcement): a link that queues need not queue it again, nor the pause after it,
    // while an identical frame to the same address still waits. True when it was accepted
    // or is already waiting.
    virtual bool sendUnlessWaiting(const std::string &address, std::uint16_t port,
                                   std::span<const std::uint8_t> bytes)
    {
        return send(address, port, bytes);
    }

    // Keeps at least `milliseconds` between the end of the frame sent before and the next.
    virtual void pause(int milliseconds) = 0;

    // A fence behind every frame given so far: it completes when the last of them has left.
    // `nowMs` is the caller's monotonic time, at which a link that keeps nothing waiting (a
    // synchronous one, or a queue that has run empty) completes it at once.
    virtual std::shared_ptr<const SendFence> fence(std::int64_t nowMs)
    {
        return SendFence::completedAt(nowMs);
    }
};

} // namespace arx

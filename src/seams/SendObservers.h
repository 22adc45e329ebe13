#pragma once

#include "seams/SendObserver.h"

namespace arx {

// Hands every report of a queueing link to two observers, the first first.
class SendObserverPair final : public SendObserver {
public:
    SendObserverPair(SendObserver &first, SendObserver &second)
        : first_(first)
        , second_(second)
    {
    }
    void queued(std::uint64_t ticket, SendOutcome outcome) override
    {
        first_.queued(ticket, outcome);
        second_.queued(ticket, outcome);
    }
    void sent(std::uint64_t ticket, std::int64_t monotonicMs, int error) override
    {
        first_.sent(ticket, monotonicMs, error);
        second_.sent(ticket, monotonicMs, error);
    }

private:
    SendObserver &first_;
    SendObserver &second_;
};

} // namespace arx

#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

namespace arx {

// Marks the frames a caller has given a link so far. It completes once the last of them has
// left (or was given up at close), with the monotonic time it left, on the same clock as
// `Clock::monotonicMs`. The sending side completes it; whoever holds it reads it on any
// thread, without a lock and without calling into the sender.
class SendFence {
public:
    bool done() const { return leftAtMs_.load(std::memory_order_acquire) != Pending; }
    std::optional<std::int64_t> leftAtMs() const
    {
        const std::int64_t at = leftAtMs_.load(std::memory_order_acquire);
        return at == Pending ? std::nullopt : std::optional(at);
    }
    // The first completion counts.
    void complete(std::int64_t monotonicMs)
    {
        std::int64_t expected = Pending;
        leftAtMs_.compare_exchange_strong(expected, monotonicMs, std::memory_order_acq_rel);
    }

    static std::shared_ptr<SendFence> completedAt(std::int64_t monotonicMs)
    {
        auto fence = std::make_shared<SendFence>();
        fence->complete(monotonicMs);
        return fence;
    }

private:
    static constexpr std::int64_t Pending = std::numeric_limits<std::int64_t>::min();
    std::atomic<std::int64_t> leftAtMs_ { Pending };
};

} // namespace arx

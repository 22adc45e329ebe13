#pragma once

#include "protocol/Datagram.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace arx::e2e {

// Carries datagrams from the receive thread to the test's thread, which stands in for the
// user-interface thread: only that thread hands them to the discovery and touches the store.
class DatagramQueue {
public:
    void push(const Datagram &datagram)
    {
        {
            const std::lock_guard lock(mutex_);
            waiting_.push_back(datagram);
        }
        arrived_.notify_one();
    }

    // The oldest datagram, waiting up to `wait` for one to come.
    std::optional<Datagram> pop(std::chrono::milliseconds wait)
    {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, wait, [this] { return !waiting_.empty(); }))
            return std::nullopt;
        Datagram datagram = std::move(waiting_.front());
        waiting_.pop_front();
        return datagram;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Datagram> waiting_;
};

} // namespace arx::e2e

#pragma once

#include "Ipv4.h"
#include "Text.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace arxsim {

struct Datagram {
    Bytes bytes;
    Endpoint from;
};

// A plain UDP socket on a loopback address, standing where the application stands.
class LoopbackPeer {
public:
    // Binds; throws std::runtime_error when the address cannot be had.
    LoopbackPeer(const std::string &address, std::uint16_t port);
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer &) = delete;
    LoopbackPeer &operator=(const LoopbackPeer &) = delete;

    Endpoint endpoint() const { return endpoint_; }

    void sendTo(const Endpoint &to, const Bytes &bytes);
    // The search request '%C' to the group, leaving on this peer's address and carrying
    // `carried`.
    void sendSearch(const Endpoint &carried);

    // The next datagram, if one comes within `timeout`.
    std::optional<Datagram> receive(std::chrono::milliseconds timeout = std::chrono::seconds(2));
    // The next datagram that `wanted` accepts; others are skipped.
    template <typename Predicate>
    std::optional<Datagram> receiveWhere(
        Predicate wanted, std::chrono::milliseconds timeout = std::chrono::seconds(2))
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return std::nullopt;
            auto datagram = receive(left);
            if (!datagram || wanted(*datagram))
                return datagram;
        }
    }
    // Whatever is waiting now, without waiting.
    std::vector<Datagram> drain();

private:
    int fd_;
    Endpoint endpoint_;
};

Bytes searchRequest(const Endpoint &carried);

} // namespace arxsim

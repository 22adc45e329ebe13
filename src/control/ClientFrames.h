#pragma once

#include "seams/SendObserver.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace arx {

// How many frames each room-control client has waiting in the paced link, so that no client
// can crowd out the window's own edits. Frames are the client's when they are queued while
// one of its commands runs (an Attribution on the user-interface thread); they stop counting
// when the sender thread reports them gone. The two threads meet only under this object's
// lock: the sender thread never touches a client.
class ClientFrames final : public SendObserver {
public:
    using ClientId = std::uint64_t; // from 1, never reused
    static constexpr std::size_t Limit = 256;

    // While it lives, every frame queued counts as `client`'s.
    class Attribution {
    public:
        Attribution(ClientFrames &frames, ClientId client);
        ~Attribution();
        Attribution(const Attribution &) = delete;
        Attribution &operator=(const Attribution &) = delete;

    private:
        ClientFrames &frames_;
    };

    std::size_t waiting(ClientId client) const;
    // Whether `more` frames still fit within the client's limit.
    bool fits(ClientId client, std::size_t more) const { return waiting(client) + more <= Limit; }
    // The client has gone; its frames still go out, uncounted.
    void forget(ClientId client);

    void queued(std::uint64_t ticket, SendOutcome outcome) override;
    void sent(std::uint64_t ticket, std::int64_t monotonicMs, int error) override;

private:
    mutable std::mutex mutex_;
    ClientId current_ = 0; // 0: nobody's
    std::unordered_map<std::uint64_t, ClientId> owners_; // by ticket
    std::unordered_map<ClientId, std::size_t> waiting_;
};

} // namespace arx

#pragma once

#include "journal/Journal.h"
#include "model/Store.h"
#include "protocol/Datagram.h"
#include "seams/Clock.h"
#include "seams/Link.h"
#include "seams/SendObserver.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <unordered_map>

namespace arx {

// Who is at the far end: the search group, the processor (by its framing or port), or the
// occupied unit slot that holds the address. Without a store (threads other than the
// user-interface thread may not read it) only the first two are told.
JournalDevice journalDevice(const Store *store, const std::string &address, std::uint16_t port,
    std::span<const std::uint8_t> bytes);

// Records one received datagram where it was handled (reason None) or dropped. `wireLength`
// is its length on the wire, which a dropped over-long datagram exceeds its kept bytes by.
void recordReceived(Journal &journal, const Store *store, const Clock &clock,
    const Datagram &datagram, DropReason reason, std::size_t wireLength);
inline void recordReceived(Journal &journal, const Store *store, const Clock &clock,
    const Datagram &datagram, DropReason reason)
{
    recordReceived(journal, store, clock, datagram, reason, datagram.length);
}

// How the link behind the journaling link tells what became of a frame.
enum class SendReporting {
    AtCall, // a synchronous link: the frame left (or failed) when `send` returned
    Observed, // a queueing link that reports through the SendObserver
};

// The outgoing side of the journal: a Link that fixes each frame's device and meaning on
// the calling (user-interface) thread, then passes it on; and the SendObserver through which
// a queueing link reports the real time each frame left, or its error, by ticket. A frame
// is recorded once its fate is known: sent, refused by a full queue, or failed.
class JournalingLink final : public Link, public SendObserver {
public:
    JournalingLink(
        Journal &journal, const Store &store, const Clock &clock, SendReporting reporting);

    // The link frames go on to. Set once, before the first send; with SendReporting::Observed
    // it must report to this object, numbering its frames from 1 in the order of `send`.
    void setNext(Link &next) { next_ = &next; }

    bool send(const std::string &address, std::uint16_t port,
        std::span<const std::uint8_t> bytes) override;
    void pause(int milliseconds) override;

    void queued(std::uint64_t ticket, SendOutcome outcome) override;
    void sent(std::uint64_t ticket, std::int64_t monotonicMs, int error) override;

    // Frames handed on whose fate is not known yet.
    std::size_t waitingCount() const;

private:
    // Takes the waiting entry of `ticket` out; false when there is none.
    bool takeWaiting(std::uint64_t ticket, JournalEntry &entry);

    Journal &journal_;
    const Store &store_;
    const Clock &clock_;
    const SendReporting reporting_;
    Link *next_ = nullptr;
    std::uint64_t tickets_ = 0;
    mutable std::mutex mutex_;
    std::unordered_map<std::uint64_t, JournalEntry> waiting_;
};

} // namespace arx

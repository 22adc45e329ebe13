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
#include <vector>

namespace arx {

// Who is at the far end: the search group, the processor (by its framing or port), or the
// occupied unit slot that holds the address; `slot` (0..63), when it holds it, saves looking
// through the table. Without a store (threads other than the user-interface thread may not
// read it) only the first two are told.
JournalDevice journalDevice(const Store *store, const std::string &address, std::uint16_t port,
    std::span<const std::uint8_t> bytes, int slot = -1);

// The journal's name of a unit: its number, type and name as its record holds them now.
JournalDevice unitDevice(const DeviceRecord &record);

// Records one received datagram where it was handled (reason None) or dropped; `slot` as for
// journalDevice. `monotonicMs` is when handling began: what the handling sends comes after.
void recordReceived(Journal &journal, const Store *store, std::int64_t monotonicMs,
    const Datagram &datagram, DropReason reason, int slot = -1);
// A datagram the transport dropped: `wireLength` is its length on the wire, which an
// over-long one exceeds its kept bytes by.
void recordTransportDrop(Journal &journal, const Clock &clock, const Datagram &datagram,
    DropReason reason, std::size_t wireLength);

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
    // Passed on as such, so that the link behind can merge a repeated attach frame.
    bool sendUnlessWaiting(const std::string &address, std::uint16_t port,
        std::span<const std::uint8_t> bytes) override;
    void pause(int milliseconds) override;
    std::shared_ptr<const SendFence> fence(std::int64_t nowMs) override;

    void queued(std::uint64_t ticket, SendOutcome outcome) override;
    void sent(std::uint64_t ticket, std::int64_t monotonicMs, int error) override;

    // While a received datagram is handled, the frames it makes ARX send are held back and
    // recorded after it, so that the journal shows the cause before what it caused.
    void holdRecords();
    void releaseRecords();

    // Frames handed on whose fate is not known yet.
    std::size_t waitingCount() const;

private:
    bool handOn(const std::string &address, std::uint16_t port,
        std::span<const std::uint8_t> bytes, bool unlessWaiting);
    // Takes the waiting entry of `ticket` out; false when there is none.
    bool takeWaiting(std::uint64_t ticket, JournalEntry &entry);
    void record(const JournalEntry &entry);

    Journal &journal_;
    const Store &store_;
    const Clock &clock_;
    const SendReporting reporting_;
    Link *next_ = nullptr;
    std::uint64_t tickets_ = 0;
    mutable std::mutex mutex_;
    std::unordered_map<std::uint64_t, JournalEntry> waiting_;
    bool holding_ = false;
    std::vector<JournalEntry> held_;
};

} // namespace arx

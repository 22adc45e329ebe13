#pragma once

#include "model/DeviceRecord.h"
#include "model/UnitCheck.h"
#include "protocol/Datagram.h"
#include "protocol/DropReason.h"

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace arx {

// Event: what the room check found, or an action on every unit, an entry of its own kind
// beside the datagrams.
enum class JournalDirection : std::uint8_t { Out, In, Dropped, Event };

enum class JournalEventKind : std::uint8_t {
    None,
    CheckStarted,
    CheckSkipped,
    CheckFinished, // its text: the room's status line
    UnitState, // `unitState`; its text: when the unit was last heard, while not responding
    Difference, // its texts: the field, ARX's value and the unit's
    RoomAction, // its text: the action and how many units took it
};

enum class DeviceKind : std::uint8_t { None, Unit, Processor, Search };

// Who a datagram came from or went to, fixed when it was recorded (names change).
struct JournalDevice {
    DeviceKind kind = DeviceKind::None;
    std::int32_t unitNumber = 0; // 1..64
    std::int32_t unitType = 0; // the unit's type then, which decides how gain codes read
    char unitName[DeviceTextWidth] = {}; // GBK bytes, NUL-terminated

    friend bool operator==(const JournalDevice &a, const JournalDevice &b)
    {
        return a.kind == b.kind && a.unitNumber == b.unitNumber;
    }
};

// One datagram in or out. Fixed size and free of allocations, so that recording one costs a
// copy under a lock: the meaning is decoded from the bytes when it is read.
struct JournalEntry {
    std::uint64_t sequence = 0; // from 1, in the order of recording
    std::int64_t monotonicMs = 0;
    std::int64_t wallMs = 0; // milliseconds since 1970 (UTC)
    JournalDirection direction = JournalDirection::In;
    bool outgoing = false; // which way a dropped datagram went
    DropReason reason = DropReason::None;
    std::int32_t error = 0; // errno of a failed send
    JournalDevice device;
    char address[16] = {}; // the far end: dotted IPv4
    std::uint16_t port = 0;
    char localAddress[16] = {}; // this end, as the journal knew it when the entry was added
    std::uint16_t localPort = 0;
    std::uint32_t wireLength = 0; // the datagram's length, which may exceed the bytes kept
    std::uint16_t length = 0; // bytes kept
    std::array<std::uint8_t, DatagramCapacity> bytes {};
    // An event keeps its texts in `bytes`, each ending in a NUL, so that entries stay one size.
    JournalEventKind event = JournalEventKind::None;
    UnitCheckState unitState = UnitCheckState::Answering;

    std::span<const std::uint8_t> frame() const { return { bytes.data(), length }; }
    void setAddress(const std::string &text);
    // Sent, or dropped on its way out.
    bool isOutgoing() const { return direction == JournalDirection::Out || outgoing; }
    void setBytes(std::span<const std::uint8_t> frame);
    // Keeps the texts one after the other; what does not fit is cut at a character's start.
    void setEventTexts(std::initializer_list<std::string_view> texts);
    // The event's text `index` (0 first); empty when it has none.
    std::string_view eventText(std::size_t index) const;
};

// The latest entries, in a ring of fixed size. Any thread may add; one mutex guards the ring.
class Journal {
public:
    static constexpr std::size_t DefaultCapacity = 20000;

    // `wallMinusMonotonicMs` turns the monotonic times that entries carry into wall-clock time.
    explicit Journal(std::int64_t wallMinusMonotonicMs = 0, std::size_t capacity = DefaultCapacity);

    std::size_t capacity() const { return capacity_; }

    // This end of every datagram from now on: the address ARX binds to, or, bound to every
    // address, the one its requests carry (which may change between searches).
    void setLocalEndpoint(const std::string &address, std::uint16_t port);

    // Numbers the entry, gives it its wall-clock time and this end, and keeps it, pushing
    // out the oldest.
    void add(const JournalEntry &entry);

    std::uint64_t lastSequence() const;
    // The entries numbered after `sequence` that the ring still holds, oldest first.
    std::vector<JournalEntry> since(std::uint64_t sequence) const;
    // As `since`, but waits until there is at least one or a stop is requested.
    std::vector<JournalEntry> waitSince(std::uint64_t sequence, std::stop_token stop) const;

private:
    std::vector<JournalEntry> sinceLocked(std::uint64_t sequence) const;

    const std::int64_t wallOffset_;
    mutable std::mutex mutex_;
    mutable std::condition_variable added_;
    mutable int waiters_ = 0; // a lone add need not wake anyone
    const std::size_t capacity_;
    std::vector<JournalEntry> ring_; // grows to capacity_, then wraps
    std::size_t next_ = 0; // where the next entry goes
    std::size_t count_ = 0; // entries held
    std::uint64_t sequence_ = 0;
    char localAddress_[16] = {};
    std::uint16_t localPort_ = 0;
};

} // namespace arx

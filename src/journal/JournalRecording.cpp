#include "journal/JournalRecording.h"

#include "protocol/Frames.h"
#include "protocol/Ports.h"

#include <cerrno>
#include <cstring>

namespace arx {

namespace {

JournalEntry receivedEntry(const Store *store, std::int64_t monotonicMs, const Datagram &datagram,
    DropReason reason, int slot)
{
    JournalEntry entry;
    entry.monotonicMs = monotonicMs;
    entry.direction = reason == DropReason::None ? JournalDirection::In : JournalDirection::Dropped;
    entry.reason = reason;
    const std::span<const std::uint8_t> bytes(datagram.bytes.data(), datagram.length);
    entry.device = journalDevice(store, datagram.sender, datagram.senderPort, bytes, slot);
    entry.setAddress(datagram.sender);
    entry.port = datagram.senderPort;
    entry.setBytes(bytes);
    return entry;
}

} // namespace

JournalDevice unitDevice(const DeviceRecord &record)
{
    JournalDevice device;
    device.kind = DeviceKind::Unit;
    device.unitNumber = record.unitNumber;
    device.unitType = record.type;
    std::memcpy(device.unitName, record.name, sizeof device.unitName);
    device.unitName[sizeof device.unitName - 1] = '\0';
    return device;
}

JournalDevice journalDevice(const Store *store, const std::string &address, std::uint16_t port,
    std::span<const std::uint8_t> bytes, int slot)
{
    JournalDevice device;
    if (address == SearchGroup || port == SearchPort) {
        device.kind = DeviceKind::Search;
        return device;
    }
    if (port == ProcessorPort
        || (bytes.size() >= 2 && bytes[0] == ProcessorFrameStart1
            && bytes[1] == ProcessorFrameStart2)) {
        device.kind = DeviceKind::Processor;
        return device;
    }
    if (!store)
        return device;
    if (slot >= 0 && slot < UnitSlotCount && slotMatchesSender(store->unitTable[slot], address)) {
        return unitDevice(store->unitTable[slot]);
    }
    for (const DeviceRecord &record : store->unitTable) {
        if (slotMatchesSender(record, address))
            return unitDevice(record);
    }
    return device;
}

void recordReceived(Journal &journal, const Store *store, std::int64_t monotonicMs,
    const Datagram &datagram, DropReason reason, int slot)
{
    journal.add(receivedEntry(store, monotonicMs, datagram, reason, slot));
}

void recordTransportDrop(Journal &journal, const Clock &clock, const Datagram &datagram,
    DropReason reason, std::size_t wireLength)
{
    JournalEntry entry = receivedEntry(nullptr, clock.monotonicMs(), datagram, reason, -1);
    entry.wireLength = static_cast<std::uint32_t>(wireLength);
    journal.add(entry);
}

JournalingLink::JournalingLink(
    Journal &journal, const Store &store, const Clock &clock, SendReporting reporting)
    : journal_(journal)
    , store_(store)
    , clock_(clock)
    , reporting_(reporting)
{
}

bool JournalingLink::send(
    const std::string &address, std::uint16_t port, std::span<const std::uint8_t> bytes)
{
    return handOn(address, port, bytes, false);
}

bool JournalingLink::sendUnlessWaiting(
    const std::string &address, std::uint16_t port, std::span<const std::uint8_t> bytes)
{
    return handOn(address, port, bytes, true);
}

bool JournalingLink::handOn(const std::string &address, std::uint16_t port,
    std::span<const std::uint8_t> bytes, bool unlessWaiting)
{
    const auto forward = [&] {
        return unlessWaiting ? next_->sendUnlessWaiting(address, port, bytes)
                             : next_->send(address, port, bytes);
    };
    // Only this thread reads the store, so the device is fixed here, before the frame waits.
    JournalEntry entry;
    entry.direction = JournalDirection::Out;
    entry.outgoing = true;
    entry.device = journalDevice(&store_, address, port, bytes);
    entry.setAddress(address);
    entry.port = port;
    entry.setBytes(bytes);
    entry.monotonicMs = clock_.monotonicMs();
    const std::uint64_t ticket = ++tickets_;
    if (!next_) {
        entry.direction = JournalDirection::Dropped;
        entry.reason = DropReason::SendError;
        entry.error = ENOTCONN;
        record(entry);
        return false;
    }
    if (reporting_ == SendReporting::AtCall) {
        errno = 0;
        const bool sent = forward();
        if (!sent) {
            entry.direction = JournalDirection::Dropped;
            entry.reason = DropReason::SendError;
            entry.error = errno != 0 ? errno : EIO;
        }
        record(entry);
        return sent;
    }
    {
        // Waiting before it is handed on: the sender thread may report it at once.
        std::lock_guard lock(mutex_);
        waiting_.emplace(ticket, entry);
    }
    const bool accepted = forward();
    if (!accepted) {
        // Refused without a word to the observer: record it here, as a failed send.
        JournalEntry failed;
        if (takeWaiting(ticket, failed)) {
            failed.direction = JournalDirection::Dropped;
            failed.reason = DropReason::SendError;
            failed.error = EIO;
            record(failed);
        }
    }
    return accepted;
}

void JournalingLink::pause(int milliseconds)
{
    if (next_)
        next_->pause(milliseconds);
}

std::shared_ptr<const SendFence> JournalingLink::fence(std::int64_t nowMs)
{
    return next_ ? next_->fence(nowMs) : SendFence::completedAt(nowMs);
}

void JournalingLink::queued(std::uint64_t ticket, SendOutcome outcome)
{
    if (outcome == SendOutcome::Queued)
        return;
    JournalEntry entry;
    if (!takeWaiting(ticket, entry))
        return;
    // A merged frame leaves as the identical one already waiting, which is recorded then.
    if (outcome == SendOutcome::Refused) {
        entry.direction = JournalDirection::Dropped;
        entry.reason = DropReason::Refused;
        record(entry);
    }
}

void JournalingLink::sent(std::uint64_t ticket, std::int64_t monotonicMs, int error)
{
    JournalEntry entry;
    if (!takeWaiting(ticket, entry))
        return;
    entry.monotonicMs = monotonicMs;
    if (error != 0) {
        entry.direction = JournalDirection::Dropped;
        entry.reason = DropReason::SendError;
        entry.error = error;
    }
    record(entry);
}

void JournalingLink::holdRecords()
{
    std::lock_guard lock(mutex_);
    holding_ = true;
}

void JournalingLink::releaseRecords()
{
    std::lock_guard lock(mutex_);
    holding_ = false;
    for (const JournalEntry &entry : held_)
        journal_.add(entry);
    held_.clear();
}

void JournalingLink::record(const JournalEntry &entry)
{
    std::lock_guard lock(mutex_);
    if (holding_)
        held_.push_back(entry);
    else
        journal_.add(entry);
}

std::size_t JournalingLink::waitingCount() const
{
    std::lock_guard lock(mutex_);
    return waiting_.size();
}

bool JournalingLink::takeWaiting(std::uint64_t ticket, JournalEntry &entry)
{
    std::lock_guard lock(mutex_);
    const auto found = waiting_.find(ticket);
    if (found == waiting_.end())
        return false;
    entry = found->second;
    waiting_.erase(found);
    return true;
}

} // namespace arx

#include "journal/Journal.h"

#include <algorithm>
#include <cstring>

namespace arx {

void JournalEntry::setAddress(const std::string &text)
{
    const std::size_t length = std::min(text.size(), sizeof address - 1);
    std::memcpy(address, text.data(), length);
    address[length] = '\0';
}

void JournalEntry::setBytes(std::span<const std::uint8_t> frame)
{
    length = static_cast<std::uint16_t>(std::min(frame.size(), bytes.size()));
    std::memcpy(bytes.data(), frame.data(), length);
    wireLength = static_cast<std::uint32_t>(frame.size());
}

Journal::Journal(std::int64_t wallMinusMonotonicMs, std::size_t capacity)
    : wallOffset_(wallMinusMonotonicMs)
    , capacity_(std::max<std::size_t>(capacity, 1))
{
    // Taken once, but filled as entries come: pages of the ring that were never written cost
    // neither the start nor the end of the program.
    ring_.reserve(capacity_);
}

void Journal::add(const JournalEntry &entry)
{
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        wake = waiters_ > 0;
        JournalEntry &kept = ring_.size() < capacity_ ? ring_.emplace_back(entry) : ring_[next_];
        kept = entry;
        kept.sequence = ++sequence_;
        kept.wallMs = entry.monotonicMs + wallOffset_;
        next_ = (next_ + 1) % capacity_;
        count_ = std::min(count_ + 1, capacity_);
    }
    if (wake)
        added_.notify_all();
}

std::uint64_t Journal::lastSequence() const
{
    std::lock_guard lock(mutex_);
    return sequence_;
}

std::vector<JournalEntry> Journal::since(std::uint64_t sequence) const
{
    std::lock_guard lock(mutex_);
    return sinceLocked(sequence);
}

std::vector<JournalEntry> Journal::waitSince(std::uint64_t sequence, std::stop_token stop) const
{
    std::stop_callback wakeOnStop(stop, [this] {
        std::lock_guard lock(mutex_);
        added_.notify_all();
    });
    std::unique_lock lock(mutex_);
    ++waiters_;
    added_.wait(lock, [&] { return stop.stop_requested() || sequence_ > sequence; });
    --waiters_;
    return sinceLocked(sequence);
}

std::vector<JournalEntry> Journal::sinceLocked(std::uint64_t sequence) const
{
    // The newest entry carries sequence_, the oldest sequence_ - count_ + 1.
    const std::uint64_t oldest = sequence_ - count_ + 1;
    const std::uint64_t first = std::max(oldest, sequence + 1);
    std::vector<JournalEntry> entries;
    if (first > sequence_)
        return entries;
    entries.reserve(static_cast<std::size_t>(sequence_ - first + 1));
    // Until the ring is full, its entries are those written so far, the newest last.
    const std::size_t size = ring_.size();
    for (std::uint64_t number = first; number <= sequence_; ++number) {
        const std::size_t back = static_cast<std::size_t>(sequence_ - number) + 1;
        entries.push_back(ring_[(next_ + size - back) % size]);
    }
    return entries;
}

} // namespace arx

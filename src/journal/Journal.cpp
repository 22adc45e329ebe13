#include "journal/Journal.h"

#include <algorithm>
#include <cstring>

namespace arx {

namespace {

void copyAddress(char (&to)[16], const std::string &text)
{
    const std::size_t length = std::min(text.size(), sizeof to - 1);
    std::memcpy(to, text.data(), length);
    to[length] = '\0';
}

} // namespace

void JournalEntry::setAddress(const std::string &text)
{
    copyAddress(address, text);
}

void JournalEntry::setBytes(std::span<const std::uint8_t> frame)
{
    length = static_cast<std::uint16_t>(std::min(frame.size(), bytes.size()));
    std::memcpy(bytes.data(), frame.data(), length);
    wireLength = static_cast<std::uint32_t>(frame.size());
}

void JournalEntry::setEventTexts(std::initializer_list<std::string_view> texts)
{
    std::size_t at = 0;
    for (std::string_view text : texts) {
        std::size_t fits = std::min(text.size(), bytes.size() - at - 1);
        // Never half a UTF-8 character: continuation bytes are 10xxxxxx.
        while (fits < text.size() && fits > 0
            && (static_cast<unsigned char>(text[fits]) & 0xC0) == 0x80)
            --fits;
        std::memcpy(bytes.data() + at, text.data(), fits);
        at += fits;
        bytes[at++] = '\0';
        if (at >= bytes.size())
            break;
    }
    length = static_cast<std::uint16_t>(at);
    wireLength = 0;
}

std::string_view JournalEntry::eventText(std::size_t index) const
{
    std::size_t at = 0;
    for (; index > 0 && at < length; --index)
        at += std::strlen(reinterpret_cast<const char *>(bytes.data()) + at) + 1;
    if (at >= length)
        return {};
    return reinterpret_cast<const char *>(bytes.data()) + at;
}

Journal::Journal(std::int64_t wallMinusMonotonicMs, std::size_t capacity)
    : wallOffset_(wallMinusMonotonicMs)
    , capacity_(std::max<std::size_t>(capacity, 1))
{
    // Taken once, but filled as entries come: pages of the ring that were never written cost
    // neither the start nor the end of the program.
    ring_.reserve(capacity_);
}

void Journal::setLocalEndpoint(const std::string &address, std::uint16_t port)
{
    std::lock_guard lock(mutex_);
    copyAddress(localAddress_, address);
    localPort_ = port;
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
        std::memcpy(kept.localAddress, localAddress_, sizeof localAddress_);
        kept.localPort = localPort_;
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

#include "control/ClientFrames.h"

namespace arx {

ClientFrames::Attribution::Attribution(ClientFrames &frames, ClientId client)
    : frames_(frames)
{
    const std::lock_guard lock(frames_.mutex_);
    frames_.current_ = client;
}

ClientFrames::Attribution::~Attribution()
{
    const std::lock_guard lock(frames_.mutex_);
    frames_.current_ = 0;
}

std::size_t ClientFrames::waiting(ClientId client) const
{
    const std::lock_guard lock(mutex_);
    const auto found = waiting_.find(client);
    return found == waiting_.end() ? 0 : found->second;
}

void ClientFrames::forget(ClientId client)
{
    const std::lock_guard lock(mutex_);
    waiting_.erase(client);
}

void ClientFrames::queued(std::uint64_t ticket, SendOutcome outcome)
{
    const std::lock_guard lock(mutex_);
    if (current_ == 0 || outcome != SendOutcome::Queued)
        return;
    owners_.emplace(ticket, current_);
    ++waiting_[current_];
}

void ClientFrames::sent(std::uint64_t ticket, std::int64_t, int)
{
    const std::lock_guard lock(mutex_);
    const auto owner = owners_.find(ticket);
    if (owner == owners_.end())
        return;
    if (const auto count = waiting_.find(owner->second);
        count != waiting_.end() && count->second > 0)
        --count->second;
    owners_.erase(owner);
}

} // namespace arx

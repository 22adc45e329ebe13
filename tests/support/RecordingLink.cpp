#include "RecordingLink.h"

#include <cstdio>

namespace arx::test {

std::string hex(std::span<const std::uint8_t> bytes)
{
    std::string text;
    for (std::uint8_t byte : bytes) {
        char part[4];
        std::snprintf(part, sizeof part, text.empty() ? "%02X" : " %02X", byte);
        text += part;
    }
    return text;
}

bool RecordingLink::send(const std::string &address, std::uint16_t port,
                         std::span<const std::uint8_t> bytes)
{
    log.push_back(hex(bytes) + " -> " + address + ":" + std::to_string(port));
    frames.emplace_back(bytes.begin(), bytes.end());
    return !failSends;
}

void RecordingLink::pause(int milliseconds)
{
    log.push_back("pause " + std::to_string(milliseconds));
}

std::shared_ptr<const SendFence> RecordingLink::fence(std::int64_t nowMs)
{
    if (!holdFences)
        return SendFence::completedAt(nowMs);
    return heldFences.emplace_back(std::make_shared<SendFence>());
}

void RecordingLink::releaseFences(std::int64_t leftAtMs)
{
    for (const auto &fence : heldFences)
        fence->complete(leftAtMs);
    heldFences.clear();
}

} // namespace arx::test

#pragma once

#include "seams/Link.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace arx::test {

// Upper-case hex bytes separated by single spaces: "AA 55 01 08 A5".
std::string hex(std::span<const std::uint8_t> bytes);

// Logs every frame as "<hex> -> address:port" and every pause as "pause N", in order, and
// never sleeps. Sends succeed unless `failSends` is set (the frame is still logged).
class RecordingLink final : public Link {
public:
    bool send(const std::string &address, std::uint16_t port,
              std::span<const std::uint8_t> bytes) override;
    void pause(int milliseconds) override;
    // Completes at once at `nowMs`, the test clock's time, unless `holdFences` is set: then
    // the fence waits for `releaseFences`, as behind a queue that has not drained.
    std::shared_ptr<const SendFence> fence(std::int64_t nowMs) override;
    // Completes every held fence at `leftAtMs`, the time the test says the frames left.
    void releaseFences(std::int64_t leftAtMs);

    std::vector<std::string> log;
    std::vector<std::vector<std::uint8_t>> frames;
    bool failSends = false;
    bool holdFences = false;
    std::vector<std::shared_ptr<SendFence>> heldFences;

    void clear()
    {
        log.clear();
        frames.clear();
    }
};

} // namespace arx::test

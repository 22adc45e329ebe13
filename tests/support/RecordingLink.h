#pragma once

#include "seams/Link.h"

#include <cstdint>
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

    std::vector<std::string> log;
    std::vector<std::vector<std::uint8_t>> frames;
    bool failSends = false;

    void clear()
    {
        log.clear();
        frames.clear();
    }
};

} // namespace arx::test

#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace arx {

// Where every frame and every pacing pause goes. Production sends UDP datagrams and
// sleeps; tests record the sequence and return at once.
class Link {
public:
    virtual ~Link() = default;

    // Sends one datagram; true when the whole datagram was handed to the network.
    virtual bool send(const std::string &address, std::uint16_t port,
                      std::span<const std::uint8_t> bytes) = 0;

    virtual void pause(int milliseconds) = 0;
};

} // namespace arx

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace arx {

constexpr std::size_t DatagramCapacity = 128;

// One received datagram: the bytes after its end are zero, as the parser relies on.
struct Datagram {
    std::array<std::uint8_t, DatagramCapacity> bytes{};
    std::size_t length = 0; // 1..128
    std::string sender;     // dotted IPv4 address
    std::uint16_t senderPort = 0;
};

} // namespace arx

#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace arxsim {

// An IPv4 address in host byte order, so that subnet tests are plain arithmetic.
using Ipv4 = std::uint32_t;

std::optional<Ipv4> parseIpv4(const std::string &dotted);
std::string formatIpv4(Ipv4 address);

// Everything the emulator binds to or sends to must pass this test: it never talks to a real
// network.
inline bool isLoopback(Ipv4 address)
{
    return (address >> 24) == 127;
}

// The /24 that holds `address`.
inline Ipv4 subnetOf(Ipv4 address)
{
    return address & 0xFFFFFF00u;
}

struct Endpoint {
    Ipv4 address = 0;
    std::uint16_t port = 0;

    bool operator==(const Endpoint &) const = default;
};

std::string formatEndpoint(const Endpoint &endpoint);
// "ADDRESS:PORT"; the port may be 0.
std::optional<Endpoint> parseEndpoint(const std::string &text);

} // namespace arxsim

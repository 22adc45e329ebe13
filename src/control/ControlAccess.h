#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arx {

// Where the room-control port listens and who may connect to it.

constexpr std::uint16_t DefaultControlPort = 39100;
inline constexpr const char *DefaultControlAddress = "127.0.0.1";

// "ADDRESS:PORT" with a dotted IPv4 address and a port 0..65535 (0: the system picks one).
struct ControlEndpoint {
    std::string address;
    std::uint16_t port = 0;
};
std::optional<ControlEndpoint> parseControlEndpoint(std::string_view text);

// An IPv4 network as "A.B.C.D/N" (N 0..32) or one address "A.B.C.D".
struct Ipv4Network {
    std::uint32_t base = 0; // host order, host bits cleared
    int prefix = 32;
    bool contains(std::uint32_t address) const;
};
// A comma-separated list; nothing when any item is not a network.
std::optional<std::vector<Ipv4Network>> parseNetworks(std::string_view list);

// 127.0.0.0/8, where only this computer can connect from.
bool isLoopbackIPv4(const std::string &address);
// An address in host order, from dotted text.
std::optional<std::uint32_t> ipv4Number(const std::string &address);

} // namespace arx

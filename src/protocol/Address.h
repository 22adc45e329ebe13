#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace arx {

// The four bytes of an IPv4 address, first octet first (network order).
using Ipv4Bytes = std::array<std::uint8_t, 4>;

// True for a dotted IPv4 address such as "127.0.3.1": four decimal parts of 0..255.
bool isDottedIPv4(const std::string &text);

// The bytes of a dotted IPv4 address; nothing for any other text.
std::optional<Ipv4Bytes> ipv4Bytes(const std::string &text);

} // namespace arx

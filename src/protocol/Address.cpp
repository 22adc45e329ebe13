#include "protocol/Address.h"

#include <arpa/inet.h>

#include <cstring>

namespace arx {

bool isDottedIPv4(const std::string &text)
{
    return ipv4Bytes(text).has_value();
}

std::optional<Ipv4Bytes> ipv4Bytes(const std::string &text)
{
    in_addr address {};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1)
        return std::nullopt;
    Ipv4Bytes bytes {};
    std::memcpy(bytes.data(), &address.s_addr, bytes.size()); // s_addr is in network order
    return bytes;
}

} // namespace arx

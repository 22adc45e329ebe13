#include "control/ControlAccess.h"

#include "protocol/Address.h"

namespace arx {

namespace {

std::optional<int> decimal(std::string_view text, int maximum)
{
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value <= maximum ? std::optional(value) : std::nullopt;
}

} // namespace

std::optional<std::uint32_t> ipv4Number(const std::string &address)
{
    const auto bytes = ipv4Bytes(address);
    if (!bytes)
        return std::nullopt;
    return static_cast<std::uint32_t>((*bytes)[0]) << 24
        | static_cast<std::uint32_t>((*bytes)[1]) << 16
        | static_cast<std::uint32_t>((*bytes)[2]) << 8 | (*bytes)[3];
}

std::optional<ControlEndpoint> parseControlEndpoint(std::string_view text)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const std::string address(text.substr(0, colon));
    const auto port = decimal(text.substr(colon + 1), 65535);
    if (!isDottedIPv4(address) || !port)
        return std::nullopt;
    return ControlEndpoint { .address = address, .port = static_cast<std::uint16_t>(*port) };
}

bool Ipv4Network::contains(std::uint32_t address) const
{
    const std::uint32_t mask = prefix == 0 ? 0 : ~std::uint32_t(0) << (32 - prefix);
    return (address & mask) == base;
}

std::optional<std::vector<Ipv4Network>> parseNetworks(std::string_view list)
{
    std::vector<Ipv4Network> networks;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        const std::size_t slash = item.find('/');
        const auto address = ipv4Number(std::string(item.substr(0, slash)));
        const auto prefix = slash == std::string_view::npos ? std::optional(32)
                                                            : decimal(item.substr(slash + 1), 32);
        if (!address || !prefix)
            return std::nullopt;
        Ipv4Network network { .prefix = *prefix };
        network.base = *address & (*prefix == 0 ? 0 : ~std::uint32_t(0) << (32 - *prefix));
        networks.push_back(network);
        if (comma == std::string_view::npos)
            return networks;
        list.remove_prefix(comma + 1);
    }
}

bool isLoopbackIPv4(const std::string &address)
{
    const auto number = ipv4Number(address);
    return number && (*number >> 24) == 127;
}

} // namespace arx

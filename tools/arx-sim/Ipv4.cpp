#include "Ipv4.h"

#include <charconv>

namespace arxsim {

namespace {

std::optional<unsigned> parseDecimal(const std::string &text, unsigned maximum)
{
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > maximum)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<Ipv4> parseIpv4(const std::string &dotted)
{
    Ipv4 address = 0;
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = dotted.find('.', start);
        const bool last = part == 3;
        if (last != (dot == std::string::npos))
            return std::nullopt;
        const auto octet
            = parseDecimal(dotted.substr(start, last ? std::string::npos : dot - start), 255);
        if (!octet)
            return std::nullopt;
        address = (address << 8) | *octet;
        start = dot + 1;
    }
    return address;
}

std::string formatIpv4(Ipv4 address)
{
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.'
        + std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

std::string formatEndpoint(const Endpoint &endpoint)
{
    return formatIpv4(endpoint.address) + ':' + std::to_string(endpoint.port);
}

std::optional<Endpoint> parseEndpoint(const std::string &text)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const auto address = parseIpv4(text.substr(0, colon));
    const auto port = parseDecimal(text.substr(colon + 1), 65535);
    if (!address || !port)
        return std::nullopt;
    return Endpoint { *address, static_cast<std::uint16_t>(*port) };
}

} // namespace arxsim

#include "protocol/LocalAddress.h"

#include "protocol/Address.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>
#include <memory>

namespace arx {

namespace {

std::string dotted(const sockaddr *address)
{
    char text[INET_ADDRSTRLEN] = {};
    const auto *ipv4 = reinterpret_cast<const sockaddr_in *>(address);
    if (::inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text) == nullptr)
        return {};
    return text;
}

std::vector<std::string> hostNameAddresses()
{
    char hostName[HOST_NAME_MAX + 1] = {};
    if (::gethostname(hostName, sizeof hostName - 1) != 0)
        return {};
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(hostName, nullptr, &hints, &found) != 0 || found == nullptr)
        return {};
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, &::freeaddrinfo);
    std::vector<std::string> addresses;
    for (const addrinfo *entry = found; entry != nullptr; entry = entry->ai_next) {
        if (std::string text = dotted(entry->ai_addr); !text.empty())
            addresses.push_back(std::move(text));
    }
    return addresses;
}

std::vector<std::string> upInterfaceAddresses()
{
    ifaddrs *interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0)
        return {};
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owner(interfaces, &::freeifaddrs);
    std::vector<std::string> addresses;
    for (const ifaddrs *entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET
            || (entry->ifa_flags & IFF_UP) == 0)
            continue;
        if (std::string text = dotted(entry->ifa_addr); !text.empty())
            addresses.push_back(std::move(text));
    }
    return addresses;
}

bool isLoopback(const std::string &address)
{
    return address.rfind("127.", 0) == 0;
}

bool isLinkLocal(const std::string &address)
{
    return address.rfind("169.254.", 0) == 0;
}

} // namespace

std::optional<std::string> findLocalAddress(const std::string &interfaceAddress)
{
    if (interfaceAddress.empty())
        return hostAddress();
    if (!isDottedIPv4(interfaceAddress))
        return std::nullopt;
    return interfaceAddress;
}

std::optional<std::string> chooseHostAddress(const std::vector<std::string> &nameAddresses,
    const std::vector<std::string> &interfaceAddresses)
{
    std::vector<std::string> candidates = nameAddresses;
    candidates.insert(candidates.end(), interfaceAddresses.begin(), interfaceAddresses.end());
    for (const std::string &address : candidates) {
        if (!isLoopback(address) && !isLinkLocal(address))
            return address;
    }
    for (const std::string &address : candidates) {
        if (!isLoopback(address))
            return address;
    }
    if (candidates.empty())
        return std::nullopt;
    return candidates.front();
}

std::optional<std::string> hostAddress()
{
    const std::vector<std::string> names = hostNameAddresses();
    // The interfaces are asked only when the name gives nothing a device could reach.
    if (auto fromName = chooseHostAddress(names, {}); fromName && !isLoopback(*fromName))
        return fromName;
    return chooseHostAddress(names, upInterfaceAddresses());
}

} // namespace arx

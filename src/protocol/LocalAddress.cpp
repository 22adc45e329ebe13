#include "protocol/LocalAddress.h"

#include "protocol/Address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>
#include <memory>

namespace arx {

std::optional<std::string> findLocalAddress(const std::string &interfaceAddress)
{
    if (interfaceAddress.empty())
        return firstHostAddress();
    if (!isDottedIPv4(interfaceAddress))
        return std::nullopt;
    return interfaceAddress;
}

std::optional<std::string> firstHostAddress()
{
    char hostName[HOST_NAME_MAX + 1] = {};
    if (::gethostname(hostName, sizeof hostName - 1) != 0)
        return std::nullopt;

    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(hostName, nullptr, &hints, &found) != 0 || found == nullptr)
        return std::nullopt;
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, &::freeaddrinfo);

    const auto *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
    char text[INET_ADDRSTRLEN] = {};
    if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) == nullptr)
        return std::nullopt;
    return std::string(text);
}

} // namespace arx

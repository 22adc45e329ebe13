#pragma once

#include <optional>
#include <string>

namespace arx {

// The address this computer gives devices to answer to, carried in the search and
// connection requests: `interfaceAddress` when one was given (--interface), otherwise the
// first IPv4 address that the lookup of the host name returns. Nothing when there is none.
std::optional<std::string> findLocalAddress(const std::string &interfaceAddress);

// The first IPv4 address of the host-name lookup, or nothing.
std::optional<std::string> firstHostAddress();

} // namespace arx

#pragma once

#include <optional>
#include <string>
#include <vector>

namespace arx {

// The address this computer gives devices to answer to, carried in the search and
// connection requests: `interfaceAddress` when one was given (--interface), otherwise
// `hostAddress()`. Nothing when there is none.
std::optional<std::string> findLocalAddress(const std::string &interfaceAddress);

// This computer's address on its network: the first address of the host-name lookup that
// devices can reach. Many systems resolve their own name to a loopback address only
// (127.0.1.1), which no unit could answer to; the addresses of the network interfaces that
// are up then stand in for it.
std::optional<std::string> hostAddress();

// The choice behind hostAddress(), from the host-name lookup's addresses and the interfaces'
// addresses (dotted text, in the order the system gives them): the first that is neither
// loopback (127/8) nor link-local (169.254/16), else the first that is not loopback, else
// the first address at all.
std::optional<std::string> chooseHostAddress(const std::vector<std::string> &nameAddresses,
    const std::vector<std::string> &interfaceAddresses);

} // namespace arx

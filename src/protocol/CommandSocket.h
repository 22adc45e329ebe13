#pragma once

#include "protocol/UdpTransport.h"
#include "seams/Prompts.h"

#include <string>

namespace arx {

// Opens the program's command socket on port 39030 of `interfaceAddress` (empty: every
// address) and makes multicast leave from the interface of the address that the search
// request carries (`findLocalAddress`), so that units answer on the network they were asked
// on. On failure the operator is told "Winsock error!" once, errno says why, and the program
// runs on without a socket.
bool openCommandSocket(
    UdpTransport &transport, const std::string &interfaceAddress, Prompts &prompts);

} // namespace arx

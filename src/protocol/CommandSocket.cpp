#include "protocol/CommandSocket.h"

#include "protocol/LocalAddress.h"
#include "protocol/Ports.h"

#include <cerrno>

namespace arx {

bool openCommandSocket(
    UdpTransport &transport, const std::string &interfaceAddress, Prompts &prompts)
{
    if (!transport.open(interfaceAddress, LocalPort)) {
        const int error = errno; // telling the operator may change it
        prompts.message("Winsock error!");
        errno = error;
        return false;
    }
    if (const auto own = findLocalAddress(interfaceAddress))
        transport.setMulticastInterface(*own);
    return true;
}

} // namespace arx

#include "protocol/CommandSocket.h"

#include "protocol/LocalAddress.h"
#include "protocol/Ports.h"

namespace arx {

bool openCommandSocket(
    UdpTransport &transport, const std::string &interfaceAddress, Prompts &prompts)
{
    if (!transport.open(interfaceAddress, LocalPort)) {
        prompts.message("Winsock error!");
        return false;
    }
    if (const auto own = findLocalAddress(interfaceAddress))
        transport.setMulticastInterface(*own);
    return true;
}

} // namespace arx

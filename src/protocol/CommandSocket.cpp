#include "protocol/CommandSocket.h"

#include "protocol/Ports.h"

namespace arx {

bool openCommandSocket(UdpTransport &transport, const std::string &interfaceAddress,
                       Prompts &prompts)
{
    if (!transport.open(interfaceAddress, LocalPort)) {
        prompts.message("Winsock error!");
        return false;
    }
    if (!interfaceAddress.empty())
        transport.setMulticastInterface(interfaceAddress);
    return true;
}

} // namespace arx

#include "protocol/Address.h"

#include <arpa/inet.h>

namespace arx {

bool isDottedIPv4(const std::string &text)
{
    in_addr address{};
    return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

} // namespace arx

#pragma once

#include <string>

namespace arx {

// True for a dotted IPv4 address such as "127.0.3.1": four decimal parts of 0..255.
bool isDottedIPv4(const std::string &text);

} // namespace arx

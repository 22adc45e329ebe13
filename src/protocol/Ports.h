#pragma once

#include <cstdint>

namespace arx {

constexpr std::uint16_t LocalPort = 39030;     // ours, and every unit's command port
constexpr std::uint16_t ProcessorPort = 39060; // the loudspeaker processor's command port
constexpr std::uint16_t SearchPort = 9000;     // where units listen for the search request
constexpr const char *SearchGroup = "239.254.50.123";

} // namespace arx

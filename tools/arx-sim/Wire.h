#pragma once

#include "Ipv4.h"

#include <cstdint>

namespace arxsim {

// The installation's fixed ports and search group, as the devices know them.
inline constexpr std::uint16_t UnitPort = 39030;
inline constexpr std::uint16_t ProcessorPort = 39060;
inline constexpr std::uint16_t SearchPort = 9000;
inline constexpr Ipv4 SearchGroup = (239u << 24) | (254u << 16) | (50u << 8) | 123u;

// Host numbers inside the room's /24.
inline constexpr int FirstUnitHost = 10;
inline constexpr int ProcessorHost = 200;
inline constexpr int MaxUnits = ProcessorHost - FirstUnitHost;

} // namespace arxsim

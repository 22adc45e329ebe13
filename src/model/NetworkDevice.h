#pragma once

#include "model/DeviceRecord.h"

#include <cstdint>

namespace arx {

constexpr int NetworkDeviceCount = 32;

// One device of the network settings table, as the settings dialog reads it.
struct NetworkDevice {
    char name[DeviceTextWidth] = {};
    char ipAddress[DeviceTextWidth] = {};
    char mask[DeviceTextWidth] = {};
    char gateway[DeviceTextWidth] = {};
    char dnsServer[DeviceTextWidth] = {};
    std::uint8_t staticAddress = 0;
    std::uint8_t inUse = 0;
};
static_assert(sizeof(NetworkDevice) == 122);

} // namespace arx

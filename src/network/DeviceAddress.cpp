#include "network/DeviceAddress.h"

#include "model/Store.h"

namespace arx {

int findNetworkDevice(
    const std::array<NetworkDevice, NetworkDeviceCount> &table, std::string_view key)
{
    for (std::size_t entry = 0; entry < table.size(); ++entry) {
        if (table[entry].inUse != 0 && textOf(table[entry].name) == key)
            return static_cast<int>(entry);
    }
    return -1;
}

std::optional<DeviceAddressFields> deviceAddressFields(
    const std::array<NetworkDevice, NetworkDeviceCount> &table, std::string_view key)
{
    const int entry = findNetworkDevice(table, key);
    if (entry < 0)
        return std::nullopt;
    const NetworkDevice &device = table[static_cast<std::size_t>(entry)];
    return DeviceAddressFields { .staticAddress = device.staticAddress != 0,
        .ipAddress = std::string(textOf(device.ipAddress)),
        .mask = std::string(textOf(device.mask)),
        .gateway = std::string(textOf(device.gateway)),
        .dnsServer = std::string(textOf(device.dnsServer)),
        .name = std::string(textOf(device.name)) };
}

} // namespace arx

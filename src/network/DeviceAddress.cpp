#include "network/DeviceAddress.h"

#include "model/Store.h"

namespace arx {

std::optional<DeviceAddressFields> deviceAddressFields(
    const std::array<NetworkDevice, NetworkDeviceCount> &table, std::optional<std::size_t> entry)
{
    if (!entry || *entry >= table.size() || table[*entry].inUse == 0)
        return std::nullopt;
    const NetworkDevice &device = table[*entry];
    return DeviceAddressFields { .staticAddress = device.staticAddress != 0,
        .ipAddress = std::string(textOf(device.ipAddress)),
        .mask = std::string(textOf(device.mask)),
        .gateway = std::string(textOf(device.gateway)),
        .dnsServer = std::string(textOf(device.dnsServer)),
        .name = std::string(textOf(device.name)) };
}

} // namespace arx

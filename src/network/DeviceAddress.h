#pragma once

#include "model/NetworkDevice.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace arx {

// What the network settings dialog starts with for one device key. Texts are bytes.
struct DeviceAddressFields {
    bool staticAddress = false;
    std::string ipAddress;
    std::string mask;
    std::string gateway;
    std::string dnsServer;
    std::string name;
    bool operator==(const DeviceAddressFields &) const = default;
};

// The first in-use entry whose name equals the key, byte for byte, or -1.
int findNetworkDevice(
    const std::array<NetworkDevice, NetworkDeviceCount> &table, std::string_view key);

// The fields of that entry, or nothing when no entry matches.
std::optional<DeviceAddressFields> deviceAddressFields(
    const std::array<NetworkDevice, NetworkDeviceCount> &table, std::string_view key);

} // namespace arx

#pragma once

#include "model/NetworkDevice.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace arx {

// What the network settings dialog starts with for one device. Texts are bytes.
struct DeviceAddressFields {
    bool staticAddress = false;
    std::string ipAddress;
    std::string mask;
    std::string gateway;
    std::string dnsServer;
    std::string name;
    bool operator==(const DeviceAddressFields &) const = default;
};

// The fields of entry `entry` when it holds a device; nothing for no entry, an entry past the
// table or one not in use.
std::optional<DeviceAddressFields> deviceAddressFields(
    const std::array<NetworkDevice, NetworkDeviceCount> &table, std::optional<std::size_t> entry);

} // namespace arx

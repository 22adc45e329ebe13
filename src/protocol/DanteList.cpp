#include "protocol/DanteList.h"

namespace arx {

void RebuildDanteList(const UnitListModel &units, const ProcessorListModel &processors,
    DanteListModel &list, std::array<NetworkDevice, NetworkDeviceCount> &networkDevices)
{
    list.clear();
    networkDevices.fill(NetworkDevice {});
    const auto add = [&](DanteListModel::Row row) {
        std::optional<std::size_t> entry;
        if (list.rowCount() < networkDevices.size()) {
            entry = list.rowCount();
            NetworkDevice &device = networkDevices[*entry];
            setText(device.name, row[DanteNameColumn]);
            setText(device.ipAddress, row[DanteAddressColumn]);
            device.inUse = 1;
        }
        list.appendRow(std::move(row), entry);
    };
    for (const UnitListModel::Row &unit : units.rows())
        add({ unit[UnitSerialColumn], unit[UnitAddressColumn], unit[UnitNameColumn],
            DanteNoChannels, DanteNoChannels });
    for (const ProcessorListModel::Row &processor : processors.rows())
        add({ "", processor[ProcessorAddressColumn], processor[ProcessorNameColumn],
            DanteNoChannels, DanteNoChannels });
}

} // namespace arx

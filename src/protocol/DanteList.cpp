#include "protocol/DanteList.h"

namespace arx {

void RebuildDanteList(const UnitListModel &units, const ProcessorListModel &processors,
    DanteListModel &list, std::array<NetworkDevice, NetworkDeviceCount> &networkDevices)
{
    list.clear();
    for (const UnitListModel::Row &unit : units.rows())
        list.appendRow({ unit[UnitSerialColumn], unit[UnitAddressColumn], unit[UnitNameColumn],
            DanteNoChannels, DanteNoChannels });
    for (const ProcessorListModel::Row &processor : processors.rows())
        list.appendRow({ "", processor[ProcessorAddressColumn], processor[ProcessorNameColumn],
            DanteNoChannels, DanteNoChannels });

    for (std::size_t entry = 0; entry < networkDevices.size(); ++entry) {
        NetworkDevice &device = networkDevices[entry];
        device = NetworkDevice {};
        if (entry >= list.rowCount())
            continue;
        setText(device.name, list.cell(entry, DanteNameColumn));
        setText(device.ipAddress, list.cell(entry, DanteAddressColumn));
        device.inUse = 1;
    }
}

} // namespace arx

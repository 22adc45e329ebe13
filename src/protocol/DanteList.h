#pragma once

#include "model/Store.h"
#include "protocol/ProcessorList.h"
#include "protocol/TextList.h"
#include "protocol/UnitList.h"

namespace arx {

// Every device of the installation (`danteList`): the registered units, then the listed
// processors.
enum DanteColumn : std::size_t {
    DanteIdColumn = 0,
    DanteAddressColumn = 1,
    DanteNameColumn = 2,
    DanteRxColumn = 3,
    DanteTxColumn = 4,
};

class DanteListModel : public TextList<5> {
public:
    DanteListModel()
        : TextList<5>({ "Dante ID", "IP", "Name", "Rx", "Tx" })
    {
    }
};

// What the device list shows for channels nobody reports.
inline const std::string DanteNoChannels = "-";

// Rebuilds the device list from the unit and processor lists, in their order: a unit's
// "Dante ID" is its unit number, a processor's is empty. The first NetworkDeviceCount rows
// also become the network-device table (name, address, dynamic, in use; every other entry
// is emptied), so that the settings dialog finds them by name.
void RebuildDanteList(const UnitListModel &units, const ProcessorListModel &processors,
    DanteListModel &list, std::array<NetworkDevice, NetworkDeviceCount> &networkDevices);

} // namespace arx

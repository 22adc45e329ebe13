#pragma once

#include "model/Store.h"
#include "protocol/ProcessorList.h"
#include "protocol/TextList.h"
#include "protocol/UnitList.h"

#include <optional>
#include <vector>

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

// Each row also keeps the network-device entry that holds its device: names need not be
// unique (two processors never renamed are both ""), so only the row says which device it is.
class DanteListModel : public TextList<5> {
public:
    DanteListModel()
        : TextList<5>({ "Dante ID", "IP", "Name", "Rx", "Tx" })
    {
    }

    void appendRow(Row row, std::optional<std::size_t> networkEntry)
    {
        TextList<5>::appendRow(std::move(row));
        networkEntries_.push_back(networkEntry);
    }
    void clear()
    {
        TextList<5>::clear();
        networkEntries_.clear();
    }
    // The entry of row `row`'s device; nothing for a row the table had no room for, or a row
    // that does not exist.
    std::optional<std::size_t> networkEntry(std::size_t row) const
    {
        return row < networkEntries_.size() ? networkEntries_[row] : std::nullopt;
    }

private:
    std::vector<std::optional<std::size_t>> networkEntries_; // one per row
};

// What the device list shows for channels nobody reports.
inline const std::string DanteNoChannels = "-";

// Rebuilds the device list from the unit and processor lists, in their order: a unit's
// "Dante ID" is its unit number, a processor's is empty. The first NetworkDeviceCount rows
// also become the network-device table (name, address, dynamic, in use; every other entry
// is emptied), and each of them keeps its entry for the settings dialog.
void RebuildDanteList(const UnitListModel &units, const ProcessorListModel &processors,
    DanteListModel &list, std::array<NetworkDevice, NetworkDeviceCount> &networkDevices);

} // namespace arx

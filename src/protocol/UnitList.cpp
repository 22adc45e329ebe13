#include "protocol/UnitList.h"

#include <charconv>

namespace arx {

int slotOfUnitRow(const UnitListModel &list, std::size_t row)
{
    if (row >= list.rowCount())
        return -1;
    const std::string &serial = list.cell(row, UnitSerialColumn);
    int number = 0;
    const auto [end, error] = std::from_chars(serial.data(), serial.data() + serial.size(), number);
    if (error != std::errc() || end != serial.data() + serial.size())
        return -1;
    if (number < 1 || number > UnitSlotCount)
        return -1;
    return number - 1;
}

namespace {

void removeRowsOfFreedSlot(const DeviceRecord &record, UnitListModel &list)
{
    const std::string serial = std::to_string(record.unitNumber);
    for (std::size_t row = list.rowCount(); row-- > 0;) {
        if (list.cell(row, UnitSerialColumn) == serial)
            list.removeRow(row);
    }
}

// The row of an occupied slot is the one that carries its number; it takes the slot's current
// name and address. Rows found by name or address instead would take the name and address of
// another unit sharing one of them (a unit that moved to an address another slot still holds,
// or a host that keeps changing its name), and that unit would then get a second row: the list
// would show wrong names and grow with every such announcement.
void updateOrAppendRow(const DeviceRecord &record, UnitListModel &list)
{
    const std::string serial = std::to_string(record.unitNumber);
    const std::string name(textOf(record.name));
    const std::string ip(textOf(record.ip));
    bool matched = false;
    for (std::size_t row = 0; row < list.rowCount(); ++row) {
        if (list.cell(row, UnitSerialColumn) == serial) {
            list.setCell(row, UnitNameColumn, name);
            list.setCell(row, UnitAddressColumn, ip);
            matched = true;
        }
    }
    if (!matched)
        list.appendRow({ serial, name, ip, unitFamilyName(record.type) });
}

} // namespace

void RefreshUnitList(
    const Store &store, UnitListModel &list, const std::function<void(int slot)> &showStrip)
{
    for (const DeviceRecord &record : store.unitTable) {
        if (record.inUse)
            updateOrAppendRow(record, list);
        else
            removeRowsOfFreedSlot(record, list);
    }
    for (std::size_t row = 0; row < list.rowCount(); ++row) {
        const int slot = slotOfUnitRow(list, row);
        if (slot >= 0)
            showStrip(slot);
    }
}

} // namespace arx

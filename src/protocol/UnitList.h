#pragma once

#include "model/Store.h"
#include "protocol/TextList.h"

#include <functional>

namespace arx {

// The registered microphone units (`unitList`).
enum UnitColumn : std::size_t {
    UnitSerialColumn = 0,
    UnitNameColumn = 1,
    UnitAddressColumn = 2,
    UnitTypeColumn = 3,
};

class UnitListModel : public TextList<4> {
public:
    UnitListModel()
        : TextList<4>({ "S/N", "Name", "IP", "Type" })
    {
    }
};

// The slot (0..63) that a row's "S/N" names, or -1 when it names none.
int slotOfUnitRow(const UnitListModel &list, std::size_t row);

// Brings the list in step with the unit table: rows of freed slots go, the row of each occupied
// slot (the one with its number) gets the slot's current name and address, new units get a
// row at the end. Then every listed unit's strip is shown, top row first.
void RefreshUnitList(
    const Store &store, UnitListModel &list, const std::function<void(int slot)> &showStrip);

} // namespace arx

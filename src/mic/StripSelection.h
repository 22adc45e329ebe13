#pragma once

#include "model/DeviceRecord.h"

#include <bitset>
#include <optional>
#include <span>
#include <vector>

namespace arx {

// Which strips of the MIC page the operator has selected, by slot, and which units a change
// made on a strip goes to. The page passes the slots of the shown strips, in the order it
// shows them, wherever a rule depends on them.
class StripSelection {
public:
    // A click on a strip's picture: selects or unselects that strip, and makes it the anchor of
    // the next range. With Shift, the shown strips from the anchor to this one, both included,
    // join the selection and the anchor stays; without an anchor among the shown strips it is
    // a plain click. A slot that is not shown changes nothing.
    void click(int slot, bool shift, std::span<const int> shown);
    void selectAll(std::span<const int> shown);
    void clear();
    // The strip was hidden or its unit freed: it leaves the selection.
    void remove(int slot);

    bool contains(int slot) const;
    int count() const { return static_cast<int>(selected_.count()); }
    // The selected slots, in slot order.
    std::vector<int> selected() const;
    // Where a change made on the strip of `slot` goes: every selected unit while the selection
    // holds this strip and at least one other, else this unit alone.
    std::vector<int> targetsOf(int slot) const;

private:
    std::bitset<UnitSlotCount> selected_;
    std::optional<int> anchor_;
};

} // namespace arx

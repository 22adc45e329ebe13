#include "mic/StripSelection.h"

#include <algorithm>

namespace arx {

namespace {

bool isSlot(int slot)
{
    return slot >= 0 && slot < UnitSlotCount;
}

// The place of `slot` among the shown strips; nothing when it is not shown.
std::optional<std::size_t> placeOf(int slot, std::span<const int> shown)
{
    const auto found = std::find(shown.begin(), shown.end(), slot);
    if (found == shown.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - shown.begin());
}

} // namespace

void StripSelection::click(int slot, bool shift, std::span<const int> shown)
{
    const std::optional<std::size_t> clicked = placeOf(slot, shown);
    if (!clicked)
        return;
    const std::optional<std::size_t> anchor = anchor_ ? placeOf(*anchor_, shown) : std::nullopt;
    if (shift && anchor) {
        const auto [first, last] = std::minmax(*anchor, *clicked);
        for (std::size_t place = first; place <= last; ++place)
            selected_.set(static_cast<std::size_t>(shown[place]));
        return;
    }
    selected_.flip(static_cast<std::size_t>(slot));
    anchor_ = slot;
}

void StripSelection::selectAll(std::span<const int> shown)
{
    for (const int slot : shown) {
        if (isSlot(slot))
            selected_.set(static_cast<std::size_t>(slot));
    }
}

void StripSelection::clear()
{
    selected_.reset();
    anchor_.reset();
}

void StripSelection::remove(int slot)
{
    if (!isSlot(slot))
        return;
    selected_.reset(static_cast<std::size_t>(slot));
    if (anchor_ == slot)
        anchor_.reset();
}

bool StripSelection::contains(int slot) const
{
    return isSlot(slot) && selected_.test(static_cast<std::size_t>(slot));
}

std::vector<int> StripSelection::selected() const
{
    std::vector<int> slots;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (contains(slot))
            slots.push_back(slot);
    }
    return slots;
}

std::vector<int> StripSelection::targetsOf(int slot) const
{
    if (contains(slot) && count() > 1)
        return selected();
    return { slot };
}

} // namespace arx

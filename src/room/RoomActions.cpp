#include "room/RoomActions.h"

#include <vector>

namespace arx {

namespace {

struct ActionRow {
    RoomAction action;
    const char *name;
    UnitSetting setting;
    std::int32_t value;
};
constexpr ActionRow Actions[] = {
    { .action = RoomAction::MuteAll, .name = "Mute all", .setting = UnitSetting::Mute, .value = 1 },
    { .action = RoomAction::UnmuteAll,
        .name = "Unmute all",
        .setting = UnitSetting::Mute,
        .value = 0 },
    { .action = RoomAction::LocateOff,
        .name = "Locate off",
        .setting = UnitSetting::Locate,
        .value = 0 },
};

const ActionRow &rowOf(RoomAction action)
{
    for (const ActionRow &row : Actions) {
        if (row.action == action)
            return row;
    }
    return Actions[0];
}

std::string unitsText(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " unit" : " units");
}

} // namespace

const char *roomActionName(RoomAction action)
{
    return rowOf(action).name;
}

std::string changeOutcomeText(std::string_view what, std::size_t changed, std::size_t leftAlone)
{
    return std::string(what) + ": " + unitsText(changed) + " changed, " + std::to_string(leftAlone)
        + " left alone";
}

std::string roomActionText(const RoomActionOutcome &outcome)
{
    return changeOutcomeText(roomActionName(outcome.action),
        static_cast<std::size_t>(outcome.changed), static_cast<std::size_t>(outcome.leftAlone));
}

RoomActions::RoomActions(const Store &store, UnitController &units, RoomObserver &announce)
    : store_(store)
    , units_(units)
    , announce_(announce)
{
}

RoomActionOutcome RoomActions::run(RoomAction action)
{
    std::vector<int> registered;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (store_.unitTable[static_cast<std::size_t>(slot)].inUse != 0)
            registered.push_back(slot);
    }
    const ActionRow &row = rowOf(action);
    const ApplyResult result = units_.apply(registered, row.setting, row.value);
    const RoomActionOutcome outcome { .action = action,
        .changed = static_cast<int>(result.changed.size()),
        .leftAlone = static_cast<int>(result.skipped.size()) };
    announce_.roomActionTaken(outcome);
    return outcome;
}

} // namespace arx

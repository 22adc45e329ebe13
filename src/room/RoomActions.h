#pragma once

#include "mic/UnitController.h"
#include "model/RoomObserver.h"
#include "model/Store.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace arx {

// The operator's words for an action on every unit: "Mute all", "Unmute all", "Locate off".
const char *roomActionName(RoomAction action);

// "<what>: 3 units changed, 1 left alone", as the room's status line and the journal say it.
std::string changeOutcomeText(std::string_view what, std::size_t changed, std::size_t leftAlone);
std::string roomActionText(const RoomActionOutcome &outcome);

// The actions on every registered unit at once. Each goes to every registered unit, whatever
// its record says (the record may be wrong, which is what the room check is for), through the
// units' one change path, and is then announced once as an action of its own.
class RoomActions {
public:
    RoomActions(const Store &store, UnitController &units, RoomObserver &announce);

    RoomActionOutcome run(RoomAction action);

private:
    const Store &store_;
    UnitController &units_;
    RoomObserver &announce_;
};

} // namespace arx

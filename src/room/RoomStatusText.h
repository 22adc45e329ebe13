#pragma once

#include "model/Store.h"
#include "model/UnitCheck.h"

#include <string>

namespace arx {

// The room's status line in UTF-8, for example "8 units · 7 answering · 1 not responding
// (Seat 04) · 1 differs (Seat 02)". Each group names at most three units, then "and N more";
// names that several units answer with follow with their addresses.
std::string roomStatusText(const RoomCheckSummary &summary, const Store &store);

// How the status line names a unit: its name, or "MIC-N" when it has none.
std::string unitLabel(const Store &store, int slot);

} // namespace arx

#pragma once

#include "model/LocalTime.h"
#include "model/RoomObserver.h"

#include <string>
#include <vector>

namespace arx {

// What the room check knows of one unit.
enum class UnitCheckState {
    Answering, // it sends; its settings were not compared, or nothing is known of them yet
    NotResponding, // nothing came from it within the check's answer window
    Differs, // its announcement carried settings other than its record holds
    Same, // its announcement agreed with its record
};

// "answering", "not responding", "differs", "same".
const char *unitCheckStateText(UnitCheckState state);

// One field in which a unit's announcement and its record disagree, in the texts the pages
// show: for example {"gain", "+6dB", "0dB"}.
struct UnitDifference {
    UnitField group = UnitField::Gain; // what taking the unit's value changes
    std::string field;
    std::string arx;
    std::string unit;
    bool operator==(const UnitDifference &) const = default;
};

struct UnitCheck {
    UnitCheckState state = UnitCheckState::Answering;
    // The last time anything at all came from the unit, as the wall clock read then.
    LocalTime lastHeard;
    std::vector<UnitDifference> differences; // while Differs
    bool operator==(const UnitCheck &) const = default;
};

// Several units that answer with one name from different addresses: they take one slot in
// turn, so the slot moves at every check.
struct SharedName {
    std::string nameBytes;
    std::vector<std::string> addresses;
    bool operator==(const SharedName &) const = default;
};

// When the unit was last heard, as "HH:MM:SS".
std::string lastHeardText(const UnitCheck &check);

// The room at a glance. Units are named by slot (0..63).
struct RoomCheckSummary {
    int units = 0; // registered
    std::vector<int> notResponding;
    std::vector<int> differing;
    std::vector<SharedName> sharedNames; // found by the last check
    bool running = false;
    int checks = 0; // started so far
    bool operator==(const RoomCheckSummary &) const = default;

    int answering() const { return units - static_cast<int>(notResponding.size()); }
};

} // namespace arx

#pragma once

#include "model/RoomObserver.h"
#include "model/Store.h"
#include "roomfile/RoomFile.h"

#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace arx {

// A room file beside the room as ARX sees it. Each unit of the file is matched to a
// registered unit of its family by name, else by address (names first for every unit, so that
// an address cannot take a unit another file unit names); a unit that was replaced matches
// neither way, and the operator may pair it with a registered unit of its family that the file
// does not hold. The processor cannot be read back, so its part is compared with ARX's record
// of it.

enum class RowState {
    Same,
    Differs,
    NotFound, // in the file, not found
    NotInFile, // found, not in the file
};
// "same", "differs", "in the file, not found", "found, not in the file".
const char *rowStateText(RowState state);

// One field in which the file and the room disagree.
struct FieldDifference {
    std::string parameter; // as the command interface names it: GAIN, EQ2, A_BAND3_GAIN
    std::string label; // as the window names it: "gain", "channel A band 3 gain"
    std::string file; // the values, as the command interface writes them
    std::string room;
    bool operator==(const FieldDifference &) const = default;
};

struct ComparisonRow {
    bool processor = false; // the processor's row; else a unit's
    RowState state = RowState::Same;
    int fileUnit = -1; // index into RoomFile::units, or -1
    int slot = -1; // the registered unit, or -1
    bool paired = false; // matched by the operator
    std::vector<FieldDifference> differences {};
    UnitFields fields {}; // a unit's settings that differ
};

struct RoomComparison {
    // The file's units in its order, then the registered units it does not hold in slot
    // order, then the processor.
    std::vector<ComparisonRow> rows;
    std::size_t differenceCount() const;
};

constexpr const char *ProcessorRecordLabel = "ARX's record of the processor";

// The operator's pairs: a file unit (its index) with a registered unit (its slot).
using RoomPairing = std::map<int, int>;

// A pair is kept when the file unit matched nothing, the slot is registered, of the same
// family and matched by nothing else; other pairs are left out.
RoomComparison compareRoom(
    const RoomFile &file, const Store &store, const RoomPairing &pairing = {});

// The registered units that `row` (in the file, not found, or paired) may be paired with:
// those found but not in the file, of the file unit's family, and the one it is paired with.
std::vector<int> pairingCandidates(
    const RoomComparison &comparison, const RoomFile &file, const Store &store, std::size_t row);

// What an apply takes from the file for the rows given.
struct UnitApply {
    int slot = -1;
    // The unit as it was compared: an apply skips the slot when another unit holds it by then.
    std::string nameBytes;
    std::int32_t type = 0;
    DeviceRecord values; // the file's
    UnitFields fields; // those that differ
};
struct RoomApplyPlan {
    std::vector<UnitApply> units;
    std::optional<SpeakerStore> processor; // the file's setting, whole
    std::size_t steps() const { return units.size() + (processor ? 1 : 0); }
};
// Rows that do not differ are left out.
RoomApplyPlan applyPlan(const RoomComparison &comparison, const RoomFile &file, const Store &store,
    std::span<const std::size_t> rows);
// Every row that differs.
RoomApplyPlan applyPlan(const RoomComparison &comparison, const RoomFile &file, const Store &store);

} // namespace arx

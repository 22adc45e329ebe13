#pragma once

#include "model/DeviceRecord.h"
#include "model/LocalTime.h"
#include "model/Store.h"

#include <optional>
#include <string>
#include <vector>

namespace arx {

// A room file (".arxroom"): the whole installation as ARX saw it, to compare with a room and
// to restore it. JSON, read and written by RoomFileJson.

constexpr const char *RoomFileFormat = "arx-room";
constexpr int RoomFileVersion = 1;
constexpr const char *RoomFileSuffix = ".arxroom";
constexpr const char *RoomFileFilter = "Room files (*.arxroom);;All Files (*)";
// Far beyond 64 units and a processor written out, and small enough to read at once.
constexpr std::size_t RoomFileSizeLimit = 1024 * 1024;

struct RoomFileProcessor {
    std::string address; // empty when ARX had none
    // The name (up to 15 bytes) and every value the speaker page edits; the rest keeps the
    // start values.
    SpeakerStore setting;
};

struct RoomFile {
    std::string saved; // local time, "2026-01-31 12:00:31"
    std::string savedBy; // "ARX 1.2.0"
    // Each unit's number, name (GBK bytes), address and type, and every setting its family
    // has; everything else zero.
    std::vector<DeviceRecord> units {};
    std::optional<RoomFileProcessor> processor {};
};

// The room as ARX sees it: every registered unit of a known family in slot order, and ARX's
// record of the processor (its setting, name and address).
RoomFile roomFileOf(const Store &store, std::string saved, std::string savedBy);

// "2026-01-31 12:00:31".
std::string savedTimeText(const LocalTime &time);

} // namespace arx

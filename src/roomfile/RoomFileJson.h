#pragma once

#include "roomfile/RoomFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace arx {

// Room files as JSON. Values are written as a person reads them: gains and levels in dB,
// frequencies in Hz, Q, switches as true or false, the mode, shapes and crossover types by
// name, colours by name or #RRGGBB; each reads back as exactly the code it was written from.
// A code that no control can name (a colour index past the list, a gain outside the family's
// list) is written {"code": n} and read back as that code.

std::string roomFileText(const RoomFile &file);

struct RoomFileRead {
    std::optional<RoomFile> file;
    std::string problem; // when refused: the first offending field and why
};

// Takes only a room file of this version whose every value is one its control allows: the
// strips' lists and the equaliser's ranges for units, the preset checks for the processor.
// Never throws, whatever the text.
RoomFileRead readRoomFile(std::string_view text);

} // namespace arx

#pragma once

#include "ControlConnection.h"

#include <optional>
#include <string>
#include <vector>

namespace arxctl {

// One row of `arxctl list`.
struct UnitRow {
    int number = 0;
    std::string name;
    std::string address;
    std::string family;
    std::string state;
    std::string mute;
    std::string gain;
};

// One difference of `arxctl room diff`: the unit's number (- for a unit the room lacks) or
// SPEAKER, the parameter, and the values in the file and in the room.
struct DifferenceRow {
    std::string index;
    std::string parameter;
    std::string file;
    std::string room;
};

// The rows as a table with a header, columns as wide as their widest cell.
std::string unitTable(const std::vector<UnitRow> &units);
std::string differenceTable(const std::vector<DifferenceRow> &differences);
// {"file": name, "differences": [{index, parameter, file, room}...]}, with "applied" when one
// is given.
std::string differenceJson(const std::string &file, const std::vector<DifferenceRow> &differences,
    std::optional<int> applied);
// The rows as a JSON array of objects (number, name, address, family, state, mute, gain).
std::string unitJson(const std::vector<UnitRow> &units);
// A message as one JSON object: kind, index, parameter, value (and reason for an ERR).
std::string messageJson(const Message &message);
// Messages as a JSON array.
std::string messagesJson(const std::vector<Message> &messages);

} // namespace arxctl

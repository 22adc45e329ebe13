#pragma once

#include "ControlConnection.h"

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

// The rows as a table with a header, columns as wide as their widest cell.
std::string unitTable(const std::vector<UnitRow> &units);
// The rows as a JSON array of objects (number, name, address, family, state, mute, gain).
std::string unitJson(const std::vector<UnitRow> &units);
// A message as one JSON object: kind, index, parameter, value (and reason for an ERR).
std::string messageJson(const Message &message);
// Messages as a JSON array.
std::string messagesJson(const std::vector<Message> &messages);

} // namespace arxctl

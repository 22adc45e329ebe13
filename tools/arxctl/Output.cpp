#include "Output.h"

#include <QString>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>

namespace arxctl {

namespace {

// Columns are measured in characters, not bytes, so that names in Chinese line up as well as
// a terminal allows.
std::size_t width(const std::string &text)
{
    return static_cast<std::size_t>(QString::fromStdString(text).size());
}

nlohmann::json messageObject(const Message &message)
{
    nlohmann::json object = { { "kind", message.kind }, { "index", message.index },
        { "parameter", message.parameter } };
    object[message.kind == "ERR" ? "reason" : "value"] = message.valueText();
    return object;
}

template <std::size_t Columns>
std::string table(const std::vector<std::array<std::string, Columns>> &rows)
{
    std::array<std::size_t, Columns> widths {};
    for (const auto &row : rows) {
        for (std::size_t column = 0; column < Columns; ++column)
            widths[column] = std::max(widths[column], width(row[column]));
    }
    std::string text;
    for (const auto &row : rows) {
        std::string line;
        for (std::size_t column = 0; column < Columns; ++column) {
            line += row[column];
            if (column + 1 < Columns)
                line += std::string(widths[column] - width(row[column]) + 2, ' ');
        }
        text += line + "\n";
    }
    return text;
}

} // namespace

std::string unitTable(const std::vector<UnitRow> &units)
{
    std::vector<std::array<std::string, 7>> rows { { "S/N", "Name", "IP", "Type", "State", "Mute",
        "Gain" } };
    for (const UnitRow &unit : units)
        rows.push_back({ std::to_string(unit.number), unit.name, unit.address, unit.family,
            unit.state, unit.mute, unit.gain });
    return table(rows);
}

std::string differenceTable(const std::vector<DifferenceRow> &differences)
{
    if (differences.empty())
        return "The room holds what the file holds.\n";
    std::vector<std::array<std::string, 4>> rows { { "Unit", "Parameter", "File", "Room" } };
    for (const DifferenceRow &difference : differences)
        rows.push_back(
            { difference.index, difference.parameter, difference.file, difference.room });
    return table(rows);
}

std::string differenceJson(const std::string &file, const std::vector<DifferenceRow> &differences,
    std::optional<int> applied)
{
    nlohmann::ordered_json listed = nlohmann::ordered_json::array();
    for (const DifferenceRow &difference : differences)
        listed.push_back({ { "index", difference.index }, { "parameter", difference.parameter },
            { "file", difference.file }, { "room", difference.room } });
    nlohmann::ordered_json object = { { "file", file }, { "differences", listed } };
    if (applied)
        object["applied"] = *applied;
    return object.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string unitJson(const std::vector<UnitRow> &units)
{
    nlohmann::json array = nlohmann::json::array();
    for (const UnitRow &unit : units)
        array.push_back({ { "number", unit.number }, { "name", unit.name },
            { "address", unit.address }, { "family", unit.family }, { "state", unit.state },
            { "mute", unit.mute }, { "gain", unit.gain } });
    return array.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string messageJson(const Message &message)
{
    return messageObject(message).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
        + "\n";
}

std::string messagesJson(const std::vector<Message> &messages)
{
    nlohmann::json array = nlohmann::json::array();
    for (const Message &message : messages)
        array.push_back(messageObject(message));
    return array.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

} // namespace arxctl

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

} // namespace

std::string unitTable(const std::vector<UnitRow> &units)
{
    using Row = std::array<std::string, 7>;
    std::vector<Row> rows { { "S/N", "Name", "IP", "Type", "State", "Mute", "Gain" } };
    for (const UnitRow &unit : units)
        rows.push_back({ std::to_string(unit.number), unit.name, unit.address, unit.family,
            unit.state, unit.mute, unit.gain });
    std::array<std::size_t, 7> widths {};
    for (const Row &row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], width(row[column]));
    }
    std::string table;
    for (const Row &row : rows) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column + 1 < row.size())
                line += std::string(widths[column] - width(row[column]) + 2, ' ');
        }
        table += line + "\n";
    }
    return table;
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

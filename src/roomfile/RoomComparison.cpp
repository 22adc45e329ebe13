#include "roomfile/RoomComparison.h"

#include "control/ControlParameters.h"
#include "roomfile/RoomFileFields.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace arx {

namespace {

bool sameFamily(std::int32_t a, std::int32_t b)
{
    const std::string family = unitFamilyName(a);
    return !family.empty() && family == unitFamilyName(b);
}

bool registered(const Store &store, int slot)
{
    return slot >= 0 && slot < UnitSlotCount
        && store.unitTable[static_cast<std::size_t>(slot)].inUse;
}

ComparisonRow compareUnit(
    int fileUnit, const DeviceRecord &file, int slot, const DeviceRecord &room, bool paired)
{
    ComparisonRow row { .fileUnit = fileUnit, .slot = slot, .paired = paired };
    for (const UnitFileField &field : unitFileFields()) {
        if (!unitHas(file, field.parameter) || !unitHas(room, field.parameter)
            || sameUnitValue(field, file, room))
            continue;
        const UnitParameterRow *parameter = nullptr;
        for (const UnitParameterRow &candidate : unitParameters()) {
            if (candidate.parameter == field.parameter)
                parameter = &candidate;
        }
        row.differences.push_back({ .parameter = parameter->name,
            .label = field.label,
            .file = unitFieldText(field, file),
            .room = unitFieldText(field, room) });
        row.fields = row.fields | field.group;
    }
    row.state = row.differences.empty() ? RowState::Same : RowState::Differs;
    return row;
}

ComparisonRow compareProcessor(const SpeakerStore &file, const SpeakerStore &room)
{
    ComparisonRow row { .processor = true };
    const std::string_view fileName = textOf(file.processorName);
    const std::string_view roomName = textOf(room.processorName);
    if (fileName != roomName) {
        const SpeakerParameterEntry &name = *findSpeakerParameter("NAME");
        Store shown;
        shown.speaker = file;
        std::string fileText = speakerValueText(shown, name);
        shown.speaker = room;
        row.differences.push_back({ .parameter = name.name,
            .label = "name",
            .file = std::move(fileText),
            .room = speakerValueText(shown, name) });
    }
    for (const ProcessorFileField &field : processorFileFields()) {
        if (processorCode(file, field) == processorCode(room, field))
            continue;
        row.differences.push_back({ .parameter = field.entry->name,
            .label = field.label,
            .file = processorFieldText(file, field),
            .room = processorFieldText(room, field) });
    }
    row.state = row.differences.empty() ? RowState::Same : RowState::Differs;
    return row;
}

} // namespace

const char *rowStateText(RowState state)
{
    switch (state) {
    case RowState::Same:
        return "same";
    case RowState::Differs:
        return "differs";
    case RowState::NotFound:
        return "in the file, not found";
    case RowState::NotInFile:
        break;
    }
    return "found, not in the file";
}

std::size_t RoomComparison::differenceCount() const
{
    std::size_t count = 0;
    for (const ComparisonRow &row : rows)
        count += row.state == RowState::Differs ? row.differences.size()
            : row.state == RowState::Same       ? 0
                                                : 1;
    return count;
}

RoomComparison compareRoom(const RoomFile &file, const Store &store, const RoomPairing &pairing)
{
    const int fileUnits = static_cast<int>(file.units.size());
    std::vector<int> matched(file.units.size(), -1);
    std::vector<bool> paired(file.units.size(), false);
    std::array<bool, UnitSlotCount> taken {};
    const auto match = [&](int unit, const auto &same) {
        const DeviceRecord &wanted = file.units[static_cast<std::size_t>(unit)];
        for (int slot = 0; slot < UnitSlotCount && matched[static_cast<std::size_t>(unit)] < 0;
             ++slot) {
            const DeviceRecord &record = store.unitTable[static_cast<std::size_t>(slot)];
            if (record.inUse && !taken[static_cast<std::size_t>(slot)]
                && sameFamily(record.type, wanted.type) && same(record, wanted)) {
                matched[static_cast<std::size_t>(unit)] = slot;
                taken[static_cast<std::size_t>(slot)] = true;
            }
        }
    };
    for (int unit = 0; unit < fileUnits; ++unit)
        match(unit, [](const DeviceRecord &a, const DeviceRecord &b) {
            return textOf(a.name) == textOf(b.name);
        });
    for (int unit = 0; unit < fileUnits; ++unit)
        match(unit, [](const DeviceRecord &a, const DeviceRecord &b) {
            return textOf(a.ip) == textOf(b.ip);
        });
    for (const auto &[unit, slot] : pairing) {
        if (unit < 0 || unit >= fileUnits || matched[static_cast<std::size_t>(unit)] >= 0
            || !registered(store, slot) || taken[static_cast<std::size_t>(slot)]
            || !sameFamily(store.unitTable[static_cast<std::size_t>(slot)].type,
                file.units[static_cast<std::size_t>(unit)].type))
            continue;
        matched[static_cast<std::size_t>(unit)] = slot;
        paired[static_cast<std::size_t>(unit)] = true;
        taken[static_cast<std::size_t>(slot)] = true;
    }

    RoomComparison comparison;
    for (int unit = 0; unit < fileUnits; ++unit) {
        const int slot = matched[static_cast<std::size_t>(unit)];
        if (slot < 0) {
            comparison.rows.push_back({ .state = RowState::NotFound, .fileUnit = unit });
            continue;
        }
        comparison.rows.push_back(compareUnit(unit, file.units[static_cast<std::size_t>(unit)],
            slot, store.unitTable[static_cast<std::size_t>(slot)],
            paired[static_cast<std::size_t>(unit)]));
    }
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (registered(store, slot) && !taken[static_cast<std::size_t>(slot)]
            && !std::string(unitFamilyName(store.unitTable[static_cast<std::size_t>(slot)].type))
                    .empty())
            comparison.rows.push_back({ .state = RowState::NotInFile, .slot = slot });
    }
    if (file.processor)
        comparison.rows.push_back(compareProcessor(file.processor->setting, store.speaker));
    return comparison;
}

std::vector<int> pairingCandidates(
    const RoomComparison &comparison, const RoomFile &file, const Store &store, std::size_t row)
{
    std::vector<int> candidates;
    if (row >= comparison.rows.size())
        return candidates;
    const ComparisonRow &wanted = comparison.rows[row];
    if (wanted.processor || wanted.fileUnit < 0
        || (wanted.state != RowState::NotFound && !wanted.paired))
        return candidates;
    const std::int32_t type = file.units[static_cast<std::size_t>(wanted.fileUnit)].type;
    if (wanted.paired)
        candidates.push_back(wanted.slot);
    for (const ComparisonRow &other : comparison.rows) {
        if (other.state == RowState::NotInFile
            && sameFamily(store.unitTable[static_cast<std::size_t>(other.slot)].type, type))
            candidates.push_back(other.slot);
    }
    std::sort(candidates.begin(), candidates.end());
    return candidates;
}

RoomApplyPlan applyPlan(const RoomComparison &comparison, const RoomFile &file, const Store &store,
    std::span<const std::size_t> rows)
{
    RoomApplyPlan plan;
    for (const std::size_t index : rows) {
        if (index >= comparison.rows.size())
            continue;
        const ComparisonRow &row = comparison.rows[index];
        if (row.state != RowState::Differs)
            continue;
        if (row.processor) {
            plan.processor = file.processor->setting;
            continue;
        }
        const DeviceRecord &unit = store.unitTable[static_cast<std::size_t>(row.slot)];
        plan.units.push_back({ .slot = row.slot,
            .nameBytes = std::string(textOf(unit.name)),
            .type = unit.type,
            .values = file.units[static_cast<std::size_t>(row.fileUnit)],
            .fields = row.fields });
    }
    return plan;
}

RoomApplyPlan applyPlan(const RoomComparison &comparison, const RoomFile &file, const Store &store)
{
    std::vector<std::size_t> rows;
    for (std::size_t index = 0; index < comparison.rows.size(); ++index)
        rows.push_back(index);
    return applyPlan(comparison, file, store, rows);
}

} // namespace arx

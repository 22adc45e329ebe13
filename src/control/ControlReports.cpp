#include "control/ControlReports.h"

namespace arx {

std::string messageLine(std::string_view kind, std::string_view index, std::string_view parameter,
    std::string_view value)
{
    std::string line = "< ";
    line += kind;
    line += ' ';
    line += index;
    line += ' ';
    line += parameter;
    if (!value.empty()) {
        line += ' ';
        line += value;
    }
    line += " >";
    return line;
}

ControlReports::ControlReports(const Store &store, ControlBroadcast &out)
    : store_(store)
    , out_(out)
    , speaker_(speakerParameters().size())
{
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        const DeviceRecord &record = store.unitTable[static_cast<std::size_t>(slot)];
        for (const UnitParameterRow &row : unitParameters()) {
            if (row.parameter == UnitParameter::Device
                || (record.inUse && unitHas(record, row.parameter)))
                know(unitPushed(slot, row.parameter), unitValueText(record, row.parameter));
        }
    }
    for (std::size_t index = 0; index < speaker_.size(); ++index) {
        const SpeakerParameterEntry &entry = speakerParameters()[index];
        if (entry.hasValue())
            know(speaker_[index], speakerValueText(store, entry));
    }
    know(search_, switchText(store.scanActive));
    know(check_, checkStateText(false));
}

void ControlReports::know(Pushed &pushed, std::string text)
{
    pushed.text = std::move(text);
    pushed.known = true;
}

ControlReports::Pushed &ControlReports::unitPushed(int slot, UnitParameter parameter)
{
    return units_[static_cast<std::size_t>(slot)][static_cast<std::size_t>(parameter)];
}

bool ControlReports::reportedDuringCommand(int slot, UnitParameter parameter) const
{
    return units_.at(static_cast<std::size_t>(slot))[static_cast<std::size_t>(parameter)].generation
        == generation_;
}

bool ControlReports::reportedDuringCommand(const SpeakerParameterEntry &entry) const
{
    const auto index = static_cast<std::size_t>(&entry - speakerParameters().data());
    return speaker_.at(index).generation == generation_;
}

void ControlReports::push(
    Pushed &pushed, const std::string &index, const char *parameter, std::string text)
{
    if (pushed.known && pushed.text == text)
        return;
    out_.broadcast(messageLine("REP", index, parameter, text));
    pushed.text = std::move(text);
    pushed.known = true;
    pushed.generation = generation_;
}

void ControlReports::reportDevice(int slot)
{
    const DeviceRecord &record = store_.unitTable[static_cast<std::size_t>(slot)];
    push(unitPushed(slot, UnitParameter::Device), std::to_string(slot + 1), "DEVICE",
        unitValueText(record, UnitParameter::Device, checks_[static_cast<std::size_t>(slot)]));
}

void ControlReports::unitCheckChanged(int slot, const UnitCheck &check)
{
    if (slot < 0 || slot >= UnitSlotCount)
        return;
    checks_[static_cast<std::size_t>(slot)] = check.state;
    reportDevice(slot);
}

void ControlReports::reportUnit(int slot, const UnitParameterRow &row)
{
    const DeviceRecord &record = store_.unitTable[static_cast<std::size_t>(slot)];
    if (!record.inUse || !unitHas(record, row.parameter))
        return;
    push(unitPushed(slot, row.parameter), std::to_string(slot + 1), row.name,
        unitValueText(record, row.parameter));
}

void ControlReports::unitChanged(int slot, UnitFields changed)
{
    if (slot < 0 || slot >= UnitSlotCount)
        return;
    // Who the unit is comes before what it holds.
    if (changed.contains(UnitField::Identity))
        reportDevice(slot);
    for (const UnitParameterRow &row : unitParameters()) {
        if (row.parameter != UnitParameter::Device && !(row.reportedOn & changed).empty())
            reportUnit(slot, row);
    }
}

void ControlReports::unitListChanged()
{
    for (int slot = 0; slot < UnitSlotCount; ++slot)
        reportDevice(slot);
}

void ControlReports::unitFreed(int slot)
{
    if (slot < 0 || slot >= UnitSlotCount)
        return;
    checks_[static_cast<std::size_t>(slot)] = UnitCheckState::Answering;
    reportDevice(slot);
    // The next unit in this slot has all its values pushed again.
    for (Pushed &pushed : units_[static_cast<std::size_t>(slot)]) {
        if (&pushed != &unitPushed(slot, UnitParameter::Device))
            pushed.known = false;
    }
}

void ControlReports::roomCheckChanged(RoomCheckEvent, const RoomCheckSummary &summary)
{
    push(check_, "ARX", "CHECK", checkStateText(summary.running));
}

void ControlReports::searchChanged(bool)
{
    push(search_, "ARX", "SEARCH", switchText(store_.scanActive));
}

void ControlReports::reportSpeaker(const SpeakerParameterEntry &entry)
{
    const auto index = static_cast<std::size_t>(&entry - speakerParameters().data());
    push(speaker_[index], "SPEAKER", entry.name.c_str(), speakerValueText(store_, entry));
}

void ControlReports::connectionStarted()
{
    connectionChanged();
}

void ControlReports::connectionChanged()
{
    reportSpeaker(*findSpeakerParameter("CONNECTED"));
}

void ControlReports::speakerChanged(const SpeakerChange &change)
{
    for (const SpeakerParameterEntry &entry : speakerParameters()) {
        if (speakerChangeReports(change, entry))
            reportSpeaker(entry);
    }
}

} // namespace arx

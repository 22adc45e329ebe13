#include "room/RoomStatusText.h"

#include "format/Gbk.h"

#include <span>

namespace arx {

namespace {

const std::string Separator = " \xC2\xB7 "; // a middle dot between spaces
constexpr std::size_t NamedAtMost = 3;

std::string counted(std::size_t count, const char *one, const char *many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string named(const Store &store, std::span<const int> slots)
{
    std::string names;
    for (std::size_t i = 0; i < slots.size() && i < NamedAtMost; ++i)
        names += (i == 0 ? "" : ", ") + unitLabel(store, slots[i]);
    if (slots.size() > NamedAtMost)
        names += " and " + std::to_string(slots.size() - NamedAtMost) + " more";
    return " (" + names + ")";
}

} // namespace

std::string unitLabel(const Store &store, int slot)
{
    const DeviceRecord &record = store.unitTable.at(static_cast<std::size_t>(slot));
    const std::string name = gbkToUtf8(textOf(record.name));
    return name.empty() ? "MIC-" + std::to_string(slot + 1) : name;
}

std::string roomStatusText(const RoomCheckSummary &summary, const Store &store)
{
    if (summary.units == 0)
        return "No units";
    std::string text = counted(static_cast<std::size_t>(summary.units), "unit", "units") + Separator
        + std::to_string(summary.answering()) + " answering";
    if (!summary.notResponding.empty())
        text += Separator + std::to_string(summary.notResponding.size()) + " not responding"
            + named(store, summary.notResponding);
    if (!summary.differing.empty())
        text += Separator + std::to_string(summary.differing.size()) + " differs"
            + named(store, summary.differing);
    for (const SharedName &shared : summary.sharedNames) {
        text += Separator + "\"" + gbkToUtf8(shared.nameBytes) + "\" answers from ";
        for (std::size_t i = 0; i < shared.addresses.size(); ++i)
            text += (i == 0                                    ? ""
                            : i + 1 == shared.addresses.size() ? " and "
                                                               : ", ")
                + shared.addresses[i];
    }
    if (summary.running)
        text += Separator + "checking\xE2\x80\xA6";
    return text;
}

} // namespace arx

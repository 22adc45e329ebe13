#include "roomfile/RoomFile.h"

#include <cstdio>

namespace arx {

RoomFile roomFileOf(const Store &store, std::string saved, std::string savedBy)
{
    RoomFile file { .saved = std::move(saved), .savedBy = std::move(savedBy) };
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        const DeviceRecord &record = store.unitTable[static_cast<std::size_t>(slot)];
        // A unit of a type no family has holds no setting a file could keep.
        if (!record.inUse || *unitFamilyName(record.type) == '\0')
            continue;
        file.units.push_back(record);
        file.units.back().unitNumber = slot + 1;
    }
    file.processor = RoomFileProcessor { .address = store.rdaAddress, .setting = store.speaker };
    return file;
}

std::string savedTimeText(const LocalTime &time)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned { time.year },
        unsigned { time.month }, unsigned { time.day }, unsigned { time.hour },
        unsigned { time.minute }, unsigned { time.second });
    return text;
}

} // namespace arx

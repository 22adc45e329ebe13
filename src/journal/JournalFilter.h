#pragma once

#include "journal/Journal.h"

#include <optional>
#include <string>

namespace arx {

// What the journal window shows. Empty parts let everything through.
struct JournalFilter {
    std::optional<JournalDevice> device; // compared by kind and unit number
    std::optional<JournalDirection> direction;
    std::string text; // found, ignoring case, in the meaning, device, address or hex
    bool hideLevelReports = false;

    // Device, direction and level reports: what needs no decoding.
    bool admits(const JournalEntry &entry) const;
    // The text, in `meaning` (meaningText(entry)) or the entry's other columns.
    bool matchesText(const JournalEntry &entry, const std::string &meaning) const;
    bool matches(const JournalEntry &entry, const std::string &meaning) const
    {
        return admits(entry) && matchesText(entry, meaning);
    }
};

} // namespace arx

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

    // `meaning` is meaningText(entry), which the caller has already made.
    bool matches(const JournalEntry &entry, const std::string &meaning) const;
};

} // namespace arx

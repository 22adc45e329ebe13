#pragma once

#include "journal/Journal.h"

#include <ostream>
#include <string>
#include <vector>

namespace arx {

// The texts of an entry, as the window shows them and the files carry them.
std::string directionText(const JournalEntry &entry); // "out", "in" or "dropped"
std::string deviceText(const JournalDevice &device); // "unit 3 Chair 1", "processor", "search", ""
std::string endpointText(const JournalEntry &entry); // "127.0.0.10:39030"
std::string hexText(const JournalEntry &entry, bool spaced);
// The decoded frame; a dropped one starts with "dropped: " and the reason.
std::string meaningText(const JournalEntry &entry);
// UTC with milliseconds: "2026-01-04T01:00:00.123Z".
std::string utcText(std::int64_t wallMs);

// One JSON object with the fields of arx-sim's frame log: time, direction, device, from, to,
// hex, meaning. This end is the one the entry recorded, or else `local` (ADDRESS:PORT).
std::string jsonLine(const JournalEntry &entry, const std::string &local);

enum class JournalFormat { JsonLines, Csv };
// Every entry, one a line; CSV starts with a header line of the same field names.
void writeJournal(std::ostream &out, const std::vector<JournalEntry> &entries, JournalFormat format,
    const std::string &local);

} // namespace arx

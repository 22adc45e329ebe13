#include "journal/JournalFilter.h"

#include "journal/FrameMeaning.h"
#include "journal/JournalText.h"

#include <algorithm>
#include <cctype>

namespace arx {

namespace {

bool containsIgnoringCase(const std::string &text, const std::string &part)
{
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [&](char a, char b) {
        return lower(a) == lower(b);
    }) != text.end();
}

} // namespace

bool JournalFilter::admits(const JournalEntry &entry) const
{
    if (device && !(*device == entry.device))
        return false;
    if (direction && *direction != entry.direction)
        return false;
    return !(hideLevelReports && isLevelReport(entry.frame()));
}

bool JournalFilter::matchesText(const JournalEntry &entry, const std::string &meaning) const
{
    if (text.empty())
        return true;
    return containsIgnoringCase(meaning, text)
        || containsIgnoringCase(deviceText(entry.device), text)
        || containsIgnoringCase(endpointText(entry), text)
        || containsIgnoringCase(hexText(entry, false), text);
}

} // namespace arx

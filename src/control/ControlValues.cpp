#include "control/ControlValues.h"

#include "control/ControlSyntax.h"
#include "format/Gbk.h"
#include "model/RingColours.h"
#include "protocol/Address.h"

#include <cstdio>
#include <cstdlib>

namespace arx {

namespace {

constexpr const char *ColourNames[]
    = { "BLACK", "RED", "GREEN", "YELLOW", "BLUE", "MAGENTA", "CYAN", "LIGHT_BLUE" };
static_assert(std::size(ColourNames) == std::size(colourIndexTable));

bool endsWithUnit(std::string_view text, std::string_view unit)
{
    return !unit.empty() && text.size() > unit.size()
        && upperCased(text.substr(text.size() - unit.size())) == upperCased(unit);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "[+-]digits[.digit]" as a count of 10^-decimals; at most six digits before the point.
std::optional<long> parseUnits(std::string_view text, int decimals)
{
    long sign = 1;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    long whole = 0;
    int digits = 0;
    while (!text.empty() && isDigit(text.front())) {
        if (++digits > 6)
            return std::nullopt;
        whole = whole * 10 + (text.front() - '0');
        text.remove_prefix(1);
    }
    if (digits == 0)
        return std::nullopt;
    long fraction = 0;
    int fractionDigits = 0;
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        while (!text.empty() && isDigit(text.front())) {
            if (++fractionDigits > decimals)
                return std::nullopt;
            fraction = fraction * 10 + (text.front() - '0');
            text.remove_prefix(1);
        }
        if (fractionDigits == 0)
            return std::nullopt;
    }
    if (!text.empty())
        return std::nullopt;
    const long scale = decimals == 1 ? 10 : 1;
    return sign * (whole * scale + fraction);
}

} // namespace

std::optional<SwitchWord> parseSwitch(std::string_view text)
{
    const std::string word = upperCased(text);
    if (word == "ON")
        return SwitchWord::On;
    if (word == "OFF")
        return SwitchWord::Off;
    if (word == "TOGGLE")
        return SwitchWord::Toggle;
    return std::nullopt;
}

const char *switchText(bool on)
{
    return on ? "ON" : "OFF";
}

long codeUnits(int code, const CodeScale &scale)
{
    return (static_cast<long>(code) * scale.divisor - scale.offset) * scale.sign;
}

std::optional<long> codeOfUnits(long units, const CodeScale &scale)
{
    const long numerator = scale.sign * units + scale.offset;
    if (numerator % scale.divisor != 0)
        return std::nullopt;
    return numerator / scale.divisor;
}

std::string formatCode(int code, const CodeScale &scale)
{
    const long units = codeUnits(code, scale);
    char text[32];
    if (scale.decimals == 0)
        std::snprintf(text, sizeof text, "%ld", units);
    else
        std::snprintf(text, sizeof text, "%s%ld.%ld", units < 0 ? "-" : "", std::labs(units) / 10,
            std::labs(units) % 10);
    return text;
}

std::optional<int> parseCode(std::string_view text, const CodeScale &scale)
{
    if (endsWithUnit(text, scale.unit))
        text.remove_suffix(std::string_view(scale.unit).size());
    const std::optional<long> units = parseUnits(text, scale.decimals);
    if (!units)
        return std::nullopt;
    const std::optional<long> code = codeOfUnits(*units, scale);
    if (!code || *code < scale.minimum || *code > scale.maximum)
        return std::nullopt;
    return static_cast<int>(*code);
}

std::string unitGainText(int db)
{
    return (db > 0 ? "+" : "") + std::to_string(db) + "dB";
}

std::optional<int> parseUnitGain(std::string_view text)
{
    if (endsWithUnit(text, "dB"))
        text.remove_suffix(2);
    const std::optional<long> db = parseUnits(text, 0);
    if (!db || *db < -99 || *db > 99)
        return std::nullopt;
    return static_cast<int>(*db);
}

std::optional<std::uint32_t> parseColour(std::string_view text)
{
    const std::string word = upperCased(text);
    for (std::size_t index = 0; index < std::size(ColourNames); ++index) {
        if (word == ColourNames[index])
            return wideColour(colourIndexTable[index]);
    }
    if (word.size() != 7 || word[0] != '#')
        return std::nullopt;
    std::uint32_t rgb = 0;
    for (std::size_t i = 1; i < word.size(); ++i) {
        const char c = word[i];
        const int digit = isDigit(c) ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (digit < 0)
            return std::nullopt;
        rgb = rgb << 4 | static_cast<std::uint32_t>(digit);
    }
    return wideColour((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::string colourText(std::int32_t unitType, std::int32_t stored)
{
    if (unitType != UnitTypePxl2) {
        const bool named
            = stored >= 0 && stored < static_cast<std::int32_t>(std::size(ColourNames));
        return named ? ColourNames[stored] : "UNKNOWN";
    }
    const auto wide = static_cast<std::uint32_t>(stored);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", redOf(wide), greenOf(wide), blueOf(wide));
    return text;
}

std::optional<std::string> gbkNameOf(
    std::string_view utf8, std::size_t byteLimit, std::string &reason)
{
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            reason = "a name holds no control characters";
            return std::nullopt;
        }
    }
    bool exact = false;
    std::string gbk = utf8ToGbk(utf8, &exact);
    if (!exact) {
        reason = "the name has characters GBK cannot hold";
        return std::nullopt;
    }
    if (gbk.size() > byteLimit) {
        reason = "the name is longer than " + std::to_string(byteLimit) + " bytes in GBK";
        return std::nullopt;
    }
    return gbk;
}

bool isUnicastIPv4(const std::string &text)
{
    const auto bytes = ipv4Bytes(text);
    return bytes && (*bytes)[0] != 0 && (*bytes)[0] < 224;
}

} // namespace arx

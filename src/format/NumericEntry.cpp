#include "format/NumericEntry.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace arx {

namespace {

// Float entries carry a relative error of about 6e-8, which scaled up to a code is well
// below this; nobody types a value this close to a code boundary on purpose.
constexpr double WholeCodeTolerance = 1e-3;

int truncatedCode(double code)
{
    const double nearest = std::round(code);
    const double whole = std::abs(code - nearest) < WholeCodeTolerance ? nearest : std::trunc(code);
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (whole <= lowest)
        return std::numeric_limits<int>::min();
    if (whole >= highest)
        return std::numeric_limits<int>::max();
    return static_cast<int>(whole);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

std::optional<float> entryFromCode(ValueKind kind, int code)
{
    const double v = code;
    switch (kind) {
    case ValueKind::Frequency:
    case ValueKind::Attack:
    case ValueKind::Release:
        return static_cast<float>(v);
    case ValueKind::Q:
        return static_cast<float>(v / 10);
    case ValueKind::Gain:
        return static_cast<float>((v - 150) * 0.1);
    case ValueKind::SpeakerGain:
        return static_cast<float>((v - 180) * 0.1);
    case ValueKind::Level:
        return static_cast<float>(24 - v * 0.5);
    case ValueKind::Threshold:
        return static_cast<float>(-v);
    case ValueKind::Ratio:
        return static_cast<float>(v * 0.1);
    default:
        return std::nullopt;
    }
}

std::optional<int> codeFromEntry(ValueKind kind, float entry)
{
    if (!std::isfinite(entry))
        return std::nullopt;
    const double x = entry;
    switch (kind) {
    case ValueKind::Frequency:
    case ValueKind::Attack:
    case ValueKind::Release:
        return truncatedCode(x);
    case ValueKind::Q: {
        const float tenths = entry * 10.0f; // the Q entry has always been scaled in float
        return truncatedCode(tenths);
    }
    case ValueKind::Gain:
        return truncatedCode(x / 0.1 + 150);
    case ValueKind::SpeakerGain:
        return truncatedCode(x / 0.1 + 180);
    case ValueKind::Level:
        return truncatedCode((24 - x) * 2);
    case ValueKind::Threshold:
        return truncatedCode(std::abs(x));
    case ValueKind::Ratio:
        return truncatedCode(x / 0.1);
    default:
        return std::nullopt;
    }
}

std::optional<float> parseEntry(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    // from_chars also reads "inf", "nan" and hexadecimal forms; only digits, a sign, one
    // point and an exponent are a number the operator means.
    for (const char c : text) {
        const bool numeric = (c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'e' || c == 'E';
        if (!numeric)
            return std::nullopt;
    }
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (!std::isfinite(number) || std::abs(number) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(number);
}

} // namespace arx

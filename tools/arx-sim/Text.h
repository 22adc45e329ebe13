#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace arxsim {

using Bytes = std::vector<std::uint8_t>;

// Lower-case hex without separators, as in the log and the control channel.
std::string toHex(const Bytes &bytes);
std::optional<Bytes> fromHex(const std::string &hex);

// Device texts are raw bytes (GBK). On the control channel they travel percent-escaped so that
// a reply stays one line of space-separated words: every byte outside '!'..'~', and '%', '=',
// ',' themselves, become %XX.
std::string percentEscape(const std::string &bytes);
std::optional<std::string> percentUnescape(const std::string &text);

// A device text for people to read: GBK decoded to UTF-8, or percent-escaped when it is not
// valid GBK.
std::string readableText(const std::string &bytes);

// The body of a JSON string literal for UTF-8 text.
std::string jsonEscape(const std::string &utf8);

} // namespace arxsim

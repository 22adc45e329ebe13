#pragma once

#include <string>
#include <string_view>

namespace arx {

// Device texts (unit and processor names, list cells) are GBK bytes; everything around them
// (windows, journal, command lines, files) is UTF-8. Both conversions are safe on any input.

// GBK bytes as UTF-8, up to the first NUL. A byte that starts no GBK character becomes '?';
// half a character at the end (a name cut at its field's width) is left out.
std::string gbkToUtf8(std::string_view bytes);

// UTF-8 as GBK bytes. A character GBK cannot hold, or a byte that is not UTF-8, becomes '?';
// `exact`, when given, says whether nothing had to be replaced.
std::string utf8ToGbk(std::string_view text, bool *exact = nullptr);

} // namespace arx

#include "Text.h"

#include <cctype>
#include <iconv.h>

namespace arxsim {

namespace {

constexpr char HexDigits[] = "0123456789abcdef";

int hexValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    return -1;
}

std::optional<std::string> gbkToUtf8(const std::string &bytes)
{
    iconv_t converter = iconv_open("UTF-8", "GBK");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string input = bytes;
    std::string output(bytes.size() * 2 + 4, '\0');
    char *in = input.data();
    char *out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1))
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace

std::string toHex(const Bytes &bytes)
{
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        hex += HexDigits[byte >> 4];
        hex += HexDigits[byte & 0x0F];
    }
    return hex;
}

std::optional<Bytes> fromHex(const std::string &hex)
{
    if (hex.size() % 2 != 0)
        return std::nullopt;
    Bytes bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexValue(hex[i]);
        const int low = hexValue(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return bytes;
}

std::string percentEscape(const std::string &bytes)
{
    std::string text;
    for (char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte > ' ' && byte < 0x7F && c != '%' && c != '=' && c != ',') {
            text += c;
        } else {
            text += '%';
            text += static_cast<char>(std::toupper(HexDigits[byte >> 4]));
            text += static_cast<char>(std::toupper(HexDigits[byte & 0x0F]));
        }
    }
    return text;
}

std::optional<std::string> percentUnescape(const std::string &text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high << 4 | low);
        i += 2;
    }
    return bytes;
}

std::string readableText(const std::string &bytes)
{
    if (auto utf8 = gbkToUtf8(bytes))
        return *utf8;
    return percentEscape(bytes);
}

std::string jsonEscape(const std::string &utf8)
{
    std::string text;
    for (char c : utf8) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte < 0x20) {
            text += "\\u00";
            text += HexDigits[byte >> 4];
            text += HexDigits[byte & 0x0F];
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace arxsim

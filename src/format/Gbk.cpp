#include "format/Gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace arx {

namespace {

// One converter per thread and direction: opening one costs far more than converting a
// name, and a search converts hundreds. It is closed when its thread ends.
class Converter {
public:
    // `replacedLength` says how many input bytes one replaced character takes.
    Converter(const char *to, const char *from, std::size_t (*replacedLength)(char lead))
        : handle_(iconv_open(to, from))
        , replacedLength_(replacedLength)
    {
    }
    ~Converter()
    {
        if (usable())
            iconv_close(handle_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool usable() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts everything; each character that cannot be converted becomes one '?'. Returns
    // whether nothing was replaced.
    bool convert(std::string_view in, std::string &out, bool dropIncompleteEnd)
    {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char *inAt = const_cast<char *>(in.data());
        std::size_t inLeft = in.size();
        bool exact = true;
        char buffer[256];
        while (inLeft > 0) {
            char *outAt = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(handle_, &inAt, &inLeft, &outAt, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outAt - buffer));
            if (result != static_cast<std::size_t>(-1) || errno == E2BIG)
                continue;
            if (errno == EINVAL && dropIncompleteEnd)
                break;
            exact = false;
            out += '?';
            const std::size_t skip = std::min(inLeft, replacedLength_(*inAt));
            inAt += skip;
            inLeft -= skip;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return exact;
    }

private:
    iconv_t handle_;
    std::size_t (*replacedLength_)(char lead);
};

std::size_t oneByte(char)
{
    return 1;
}

// The length of the UTF-8 character a lead byte starts; a stray byte counts alone.
std::size_t utf8Length(char lead)
{
    const auto byte = static_cast<unsigned char>(lead);
    if (byte >= 0xF0 && byte < 0xF8)
        return 4;
    if (byte >= 0xE0)
        return byte < 0xF0 ? 3 : 1;
    if (byte >= 0xC0)
        return 2;
    return 1;
}

// Without a converter (a C library without GBK), ASCII still reads as itself.
std::string asciiOnly(std::string_view text)
{
    std::string out;
    for (char c : text)
        out += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return out;
}

} // namespace

std::string gbkToUtf8(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    thread_local Converter converter("UTF-8", "GBK", oneByte);
    if (!converter.usable())
        return asciiOnly(bytes);
    std::string out;
    converter.convert(bytes, out, true);
    return out;
}

std::string utf8ToGbk(std::string_view text, bool *exact)
{
    thread_local Converter converter("GBK", "UTF-8", utf8Length);
    std::string out;
    const bool whole = converter.usable() ? converter.convert(text, out, false)
                                          : (out = asciiOnly(text), out == text);
    if (exact)
        *exact = whole;
    return out;
}

} // namespace arx

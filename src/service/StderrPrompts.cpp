#include "service/StderrPrompts.h"

#include <cstdio>

namespace arx {

void StderrPrompts::message(const std::string &text)
{
    std::fprintf(stderr, "arx: %s\n", text.c_str());
}

bool StderrPrompts::confirm(const std::string &text)
{
    std::fprintf(stderr, "arx: %s (cancelled: nobody to answer)\n", text.c_str());
    return false;
}

std::optional<std::string> StderrPrompts::openFileName(const std::string &, const std::string &)
{
    return std::nullopt;
}

std::optional<std::string> StderrPrompts::saveFileName(const std::string &, const std::string &)
{
    return std::nullopt;
}

std::optional<std::uint32_t> StderrPrompts::chooseColour(std::uint32_t)
{
    return std::nullopt;
}

} // namespace arx

#pragma once

#include <cstdint>

namespace arx {

// The colours of a unit's light ring. Units of the families with a colour index take one
// of eight colours by index (colourIndexTable); PXL2 units take any 24-bit colour, kept
// and sent with red in the low byte.

struct IndexedColour {
    std::uint8_t red, green, blue;
};

inline constexpr IndexedColour colourIndexTable[8] = {
    { 0, 0, 0 }, // black
    { 255, 0, 0 }, // red
    { 0, 255, 0 }, // green
    { 255, 255, 0 }, // yellow
    { 0, 0, 255 }, // blue
    { 255, 0, 255 }, // magenta
    { 0, 255, 255 }, // cyan
    { 128, 128, 255 }, // light blue
};

constexpr std::uint32_t wideColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8
        | static_cast<std::uint32_t>(blue) << 16;
}
constexpr std::uint32_t wideColour(const IndexedColour &colour)
{
    return wideColour(colour.red, colour.green, colour.blue);
}
constexpr std::uint8_t redOf(std::uint32_t wide)
{
    return wide & 0xFF;
}
constexpr std::uint8_t greenOf(std::uint32_t wide)
{
    return (wide >> 8) & 0xFF;
}
constexpr std::uint8_t blueOf(std::uint32_t wide)
{
    return (wide >> 16) & 0xFF;
}

} // namespace arx

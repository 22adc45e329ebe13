#pragma once

// What units and processors send, built the way the devices build it, for the parser tests.

#include "protocol/Datagram.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace arx::test {

using Bytes = std::vector<std::uint8_t>;

inline Datagram datagramFrom(const std::string &sender, const Bytes &bytes)
{
    Datagram datagram;
    std::copy_n(bytes.begin(), std::min(bytes.size(), DatagramCapacity), datagram.bytes.begin());
    datagram.length = std::min(bytes.size(), DatagramCapacity);
    datagram.sender = sender;
    return datagram;
}

// '%', letter, two unused bytes, an unused address, N, the name, the fields, '#'.
inline Bytes announcement(char letter, const std::string &name, const Bytes &fields)
{
    const std::uint8_t head[] = { '%', static_cast<std::uint8_t>(letter), 0, 0, 10, 0, 0, 99,
        static_cast<std::uint8_t>(name.size()) };
    // Sized once and filled: inserting into a braced-initialised vector made GCC 12 at -O2
    // see a copy past its first nine bytes.
    Bytes bytes(sizeof head + name.size() + fields.size() + 1);
    auto at = std::copy(std::begin(head), std::end(head), bytes.begin());
    at = std::copy(name.begin(), name.end(), at);
    at = std::copy(fields.begin(), fields.end(), at);
    *at = '#';
    return bytes;
}

inline Bytes codeBytes(const std::string &code)
{
    return Bytes(code.begin(), code.end());
}

inline Bytes joined(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The four '%D' variants: the length alone tells them apart.
inline Bytes arn1Announcement(const std::string &name,
    const Bytes &sixSettings = { 3, 1, 1, 0, 0, 2 }, const std::string &code = "C0DE0001",
    const Bytes &colours = { 1, 2, 3 })
{
    return announcement('D', name, joined({ sixSettings, codeBytes(code), colours }));
}
inline Bytes arn1ShortAnnouncement(
    const std::string &name, const Bytes &sixSettings = { 3, 1, 1, 0, 0, 2 })
{
    return announcement('D', name, sixSettings);
}
inline Bytes velkAnnouncement(const std::string &name,
    const Bytes &fiveSettings = { 4, 0, 1, 0, 3 }, const std::string &code = "C0DE0002",
    const Bytes &colours = { 5, 6, 7 })
{
    return announcement('D', name, joined({ fiveSettings, codeBytes(code), colours }));
}
inline Bytes velkShortAnnouncement(
    const std::string &name, const Bytes &fiveSettings = { 4, 0, 1, 0, 3 })
{
    return announcement('D', name, fiveSettings);
}

// One band of a '%H' announcement: shape, frequency, Q, gain (16 bits, high byte first), spare.
inline Bytes wideBand(
    std::uint8_t shape, std::uint16_t frequency, std::uint16_t q, std::uint16_t gain)
{
    return { shape, static_cast<std::uint8_t>(frequency >> 8), static_cast<std::uint8_t>(frequency),
        static_cast<std::uint8_t>(q >> 8), static_cast<std::uint8_t>(q),
        static_cast<std::uint8_t>(gain >> 8), static_cast<std::uint8_t>(gain), 0 };
}

struct WideFields {
    Bytes settings = { 9, 1, 0, 1, 0, 3 };
    std::string code = "C0DE0003";
    std::uint32_t open = 0x123456, mute = 0x00FF00, call = 0xABCDEF;
    Bytes head = { 0x05, 0x01, 0x01, 0xFE }; // Q code, shape, enabled, spare
    Bytes bands[4] = { wideBand(0, 100, 200, 300), wideBand(1, 500, 300, 310),
        wideBand(2, 2000, 400, 320), wideBand(0, 5000, 500, 330) };
    std::uint16_t lowCutFrequency = 80;
    std::uint16_t lowCutShape = 4;
};

inline Bytes pxl2Announcement(const std::string &name, const WideFields &f = {})
{
    auto wide = [](std::uint32_t v) {
        return Bytes { static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16) };
    };
    Bytes fields = joined({ f.settings, codeBytes(f.code), wide(f.open), wide(f.mute), wide(f.call),
        f.head, Bytes { 0 }, f.bands[0], f.bands[1], f.bands[2], f.bands[3], Bytes { 0 },
        Bytes { static_cast<std::uint8_t>(f.lowCutFrequency >> 8),
            static_cast<std::uint8_t>(f.lowCutFrequency), 0, 0,
            static_cast<std::uint8_t>(f.lowCutShape >> 8),
            static_cast<std::uint8_t>(f.lowCutShape) } });
    return announcement('H', name, fields);
}

inline Bytes report(char letter, const Bytes &values)
{
    return joined({ Bytes { '%', static_cast<std::uint8_t>(letter) }, values, Bytes { '#' } });
}

// A processor's answer to the search or to a connection request: AA 55 L 07 name A5.
inline Bytes processorAnswer(const std::string &name)
{
    return joined({ Bytes { 0xAA, 0x55, static_cast<std::uint8_t>(name.size() + 1), 0x07 },
        Bytes(name.begin(), name.end()), Bytes { 0xA5 } });
}

} // namespace arx::test

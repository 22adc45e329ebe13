#pragma once

#include <cstdint>

namespace arx {

// Wall-clock time stamp kept in records, field for field as the devices' tools expect:
// eight unsigned 16-bit fields, 16 bytes.
struct LocalTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t weekday = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t millisecond = 0;

    friend bool operator==(const LocalTime &, const LocalTime &) = default;
};
static_assert(sizeof(LocalTime) == 16);

} // namespace arx

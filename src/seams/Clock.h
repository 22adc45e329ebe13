#pragma once

#include "model/LocalTime.h"

#include <cstdint>

namespace arx {

// Time as the program reads it: wall-clock stamps for records, a monotonic millisecond
// count for time-outs (so that midnight or a clock change cannot break them).
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime localTime() const = 0;
    virtual std::int64_t monotonicMs() const = 0;
};

class SystemClock final : public Clock {
public:
    LocalTime localTime() const override;
    std::int64_t monotonicMs() const override;
};

// A clock that moves only when told; for tests and for replaying recorded sessions.
class ManualClock final : public Clock {
public:
    LocalTime localTime() const override { return now_; }
    std::int64_t monotonicMs() const override { return monotonic_; }

    void advance(std::int64_t milliseconds) { monotonic_ += milliseconds; }
    void setLocalTime(const LocalTime &time) { now_ = time; }

private:
    LocalTime now_{2026, 1, 4, 1, 0, 0, 0, 0};
    std::int64_t monotonic_ = 0;
};

} // namespace arx

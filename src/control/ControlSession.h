#pragma once

#include "control/ClientFrames.h"
#include "model/Store.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace arx {

// One room-control client's own state, without its socket: the bytes of a line not yet
// complete, its meter rate and the levels it was last sent.
class ControlSession {
public:
    // A line holds at most this many bytes before its end (LF, CR or CR LF).
    static constexpr std::size_t LineLimit = 512;
    // A client that lets this much output wait unread is closed.
    static constexpr std::size_t OutputLimit = 256 * 1024;
    static constexpr int MinimumMeterRateMs = 100;
    static constexpr int MaximumMeterRateMs = 60000;

    struct Line {
        std::string text;
        bool tooLong = false; // the line was cut off at the limit; its text is empty
    };

    explicit ControlSession(ClientFrames::ClientId id);

    ClientFrames::ClientId id() const { return id_; }

    // The lines the bytes complete, in order. An over-long line is reported once, as soon as
    // it passes the limit, and its rest is thrown away up to its end. Empty lines are skipped.
    std::vector<Line> take(std::string_view bytes);

    // 0 (off, the start) or MinimumMeterRateMs..MaximumMeterRateMs; false leaves it unchanged.
    bool setMeterRate(int milliseconds);
    int meterRateMs() const { return meterRateMs_; }
    // The SAMPLEs due: the level of every registered unit that changed since this client was
    // last sent it (all of them the first time).
    std::vector<std::string> samples(const Store &store);

private:
    ClientFrames::ClientId id_;
    std::string partial_;
    bool discarding_ = false;
    int meterRateMs_ = 0;
    std::array<int, UnitSlotCount> levelSent_;
};

} // namespace arx

#include "control/ControlSession.h"

#include "control/ControlReports.h"

namespace arx {

ControlSession::ControlSession(ClientFrames::ClientId id)
    : id_(id)
{
    levelSent_.fill(-1);
}

std::vector<ControlSession::Line> ControlSession::take(std::string_view bytes)
{
    std::vector<Line> lines;
    for (const char c : bytes) {
        if (c == '\n' || c == '\r') {
            if (!discarding_ && !partial_.empty())
                lines.push_back({ .text = std::move(partial_) });
            partial_.clear();
            discarding_ = false;
            continue;
        }
        if (discarding_)
            continue;
        if (partial_.size() == LineLimit) {
            lines.push_back({ .text = {}, .tooLong = true });
            partial_.clear();
            discarding_ = true;
            continue;
        }
        partial_ += c;
    }
    return lines;
}

bool ControlSession::setMeterRate(int milliseconds)
{
    if (milliseconds != 0
        && (milliseconds < MinimumMeterRateMs || milliseconds > MaximumMeterRateMs))
        return false;
    meterRateMs_ = milliseconds;
    return true;
}

std::vector<std::string> ControlSession::samples(const Store &store)
{
    std::vector<std::string> lines;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        const DeviceRecord &record = store.unitTable[static_cast<std::size_t>(slot)];
        int &sent = levelSent_[static_cast<std::size_t>(slot)];
        if (!record.inUse) {
            sent = -1;
            continue;
        }
        if (record.level == sent)
            continue;
        sent = record.level;
        lines.push_back(
            messageLine("SAMPLE", std::to_string(slot + 1), "LEVEL", std::to_string(record.level)));
    }
    return lines;
}

} // namespace arx

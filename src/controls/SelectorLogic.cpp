#include "controls/SelectorLogic.h"

#include <algorithm>

namespace arx {

int dropListHeight(int entryCount, int entryHeight, int maximumHeight)
{
    return std::min(std::max(entryCount, 0) * entryHeight, maximumHeight) + 1;
}

int clampSelection(int index, int count)
{
    if (count <= 0)
        return -1;
    return std::clamp(index, 0, count - 1);
}

int WheelAccumulator::add(int delta)
{
    if (reversal_ == Reversal::StartsOver
        && ((delta > 0 && total_ < 0) || (delta < 0 && total_ > 0)))
        total_ = 0;
    total_ = static_cast<int>(
        std::clamp<long long>(static_cast<long long>(total_) + delta, -Notch, Notch));
    if (total_ == -Notch) {
        total_ = 0;
        return +1;
    }
    if (total_ == Notch) {
        total_ = 0;
        return -1;
    }
    return 0;
}

WheelGesture::Target WheelGesture::route(std::int64_t nowMs, bool overSelector)
{
    if (!started_ || nowMs - lastMs_ >= QuietMs)
        target_ = overSelector ? Target::Selector : Target::Page;
    started_ = true;
    lastMs_ = nowMs;
    return target_;
}

} // namespace arx

#include "format/KnobRepeat.h"

namespace arx {

void KnobRepeat::arm(std::int64_t now)
{
    state_ = State::Resting;
    restStartedAt_ = now;
}

void KnobRepeat::pointerMoved(std::int64_t now)
{
    if (state_ == State::Resting)
        restStartedAt_ = now;
}

void KnobRepeat::disarm()
{
    state_ = State::Idle;
}

bool KnobRepeat::takeDueStep(std::int64_t now)
{
    if (state_ == State::Resting && now >= restStartedAt_ + RestMs) {
        // The repeat timer starts once the rest is noticed; its first step is a period later.
        state_ = State::Repeating;
        nextStepAt_ = restStartedAt_ + RestMs + PeriodMs;
    }
    if (state_ != State::Repeating || now < nextStepAt_)
        return false;
    nextStepAt_ += PeriodMs;
    if (nextStepAt_ <= now)
        nextStepAt_ = now + PeriodMs;
    return true;
}

std::optional<std::int64_t> KnobRepeat::nextDueAt() const
{
    switch (state_) {
    case State::Resting:
        return restStartedAt_ + RestMs;
    case State::Repeating:
        return nextStepAt_;
    case State::Idle:
        break;
    }
    return std::nullopt;
}

} // namespace arx

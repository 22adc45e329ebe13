#pragma once

#include <cstdint>
#include <optional>

namespace arx {

// When a held side of a spin knob repeats. After the press has stepped once, the pointer
// must rest for RestMs; from then on a step is due every PeriodMs. Times are monotonic
// milliseconds from the Clock seam, so tests step them by hand.
class KnobRepeat {
public:
    static constexpr std::int64_t RestMs = 100;
    static constexpr std::int64_t PeriodMs = 100;

    // The press stepped: wait for the pointer to rest.
    void arm(std::int64_t now);
    // The pointer moved while held: before the repeat has begun, the rest starts over.
    void pointerMoved(std::int64_t now);
    // Released: no more steps.
    void disarm();

    // True when a repeat step is due at `now`, at most one per call; late calls do not
    // catch up on missed steps, so a busy moment never fires a burst.
    bool takeDueStep(std::int64_t now);

    // When takeDueStep next has something to do, for scheduling a timer; none when idle.
    std::optional<std::int64_t> nextDueAt() const;

    bool isArmed() const { return state_ != State::Idle; }
    bool isRepeating() const { return state_ == State::Repeating; }

private:
    enum class State { Idle, Resting, Repeating };
    State state_ = State::Idle;
    std::int64_t restStartedAt_ = 0;
    std::int64_t nextStepAt_ = 0;
};

} // namespace arx

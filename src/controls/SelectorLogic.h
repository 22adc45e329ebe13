#pragma once

#include <cstdint>

namespace arx {

// Height of an open drop list: its entries up to a maximum, plus one pixel for the frame.
int dropListHeight(int entryCount, int entryHeight, int maximumHeight = 200);

// An index brought into [0, count - 1]; -1 when there is nothing to select.
int clampSelection(int index, int count);

// Collects wheel deltas until a whole notch (120) has turned in one direction. Partial
// turns are kept: three deltas of -40 make one step, on the third.
class WheelAccumulator {
public:
    static constexpr int Notch = 120;
    // What a turn the other way does to a partial turn: cancel part of it (selectors and
    // the page), or discard it and count from zero (knobs, so that a knob never steps back
    // on a turn that was mostly forward).
    enum class Reversal { Cancels, StartsOver };

    explicit WheelAccumulator(Reversal reversal = Reversal::Cancels)
        : reversal_(reversal)
    {
    }
    // +1 to move to the next entry (wheel turned down), -1 to the previous one, 0 for none.
    int add(int delta);
    int pending() const { return total_; }

private:
    Reversal reversal_;
    int total_ = 0;
};

// Decides who a wheel event belongs to on a page whose selectors also step on the wheel. A
// gesture is a run of wheel events with less than 300 ms between them; it belongs to what
// was under the pointer when it started, so a page that started scrolling keeps scrolling
// when a selector comes under the pointer, and a selector steps only for a gesture that
// started over it.
class WheelGesture {
public:
    static constexpr std::int64_t QuietMs = 300;
    enum class Target { Page, Selector };

    // One wheel event at `nowMs` (monotonic), with or without a selector under the pointer.
    Target route(std::int64_t nowMs, bool overSelector);

private:
    bool started_ = false;
    std::int64_t lastMs_ = 0;
    Target target_ = Target::Page;
};

} // namespace arx

#pragma once

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
    // +1 to move to the next entry (wheel turned down), -1 to the previous one, 0 for none.
    int add(int delta);
    int pending() const { return total_; }

private:
    int total_ = 0;
};

} // namespace arx

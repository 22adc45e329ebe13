#pragma once

#include "format/ValueKind.h"

#include <optional>

namespace arx {

// Whether the operator's steps (a press on a side zone, its repeats, the wheel and the arrow
// keys) move values of this kind. Kinds outside the documented set do not step.
bool stepsValue(ValueKind kind);

// Whether repeats of a held side zone grow by 1, 2, 3 ... rather than by 1 each time.
bool acceleratesWhileHeld(ValueKind kind);

struct KnobLimits {
    int minimum = 0;
    int maximum = 0;
    std::optional<int> partner; // the partner knob's value, read by the partner kinds
};

// `value` moved by `delta`, then kept on its side of the partner (a kind-8 value no higher
// than the partner's, a kind-9 value no lower), then within [minimum, maximum]. Every step
// goes through here, so a held side, the wheel and the keys all respect the partner alike.
int steppedValue(ValueKind kind, int value, int delta, const KnobLimits &limits);

} // namespace arx

#pragma once

namespace arx {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    bool operator==(const Rgb &) const = default;
};

// Colour of line `line` (0 = top) of a header gradient: every line takes `step` off each
// component of the line above, and a component stays at 0 once it gets there.
Rgb headerGradientLine(Rgb base, int step, int line);

} // namespace arx

#pragma once

#include <chrono>

class QWidget;

namespace arx {

// Turns the event loop, input held back, until the shown `window` has painted once and that
// paint has gone to the screen, or until `limit` has passed.
void waitForFirstPaint(QWidget &window, std::chrono::milliseconds limit);

} // namespace arx

#pragma once

#include <functional>

class QWidget;

namespace arx::gallery {

// One page of the widget gallery. Each section file registers itself with a static
// `const bool registered = registerSection({...});`, so that adding a control to the
// gallery touches only its own file.
struct Section {
    int order = 0;        // pages are shown in ascending order
    const char *title = "";
    std::function<QWidget *()> make;
};

bool registerSection(Section section);

} // namespace arx::gallery

#pragma once

#include <QWidget>

namespace arx {

// Every control carries the numeric id of its dialog template, so that parents and tests
// address it the way the documentation does (1006 is the search button).
void setControlId(QWidget *control, int id);
int controlId(const QWidget *control); // 0 when none was set

// The first descendant of `root` that carries `id`, or nullptr.
QWidget *findControl(const QWidget *root, int id);

// The first descendant of that type carrying `id`: the selectors' drop lists carry 1125,
// which is also the speaker page's second PHASE button.
template <class Control> Control *findControl(const QWidget *root, int id)
{
    const auto children = root->template findChildren<Control *>();
    for (Control *child : children) {
        if (controlId(child) == id)
            return child;
    }
    return nullptr;
}

} // namespace arx

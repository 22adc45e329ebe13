#pragma once

class QWidget;

namespace arx {

// Every control carries the numeric id of its dialog template, so that parents and tests
// address it the way the documentation does (1006 is the search button).
void setControlId(QWidget *control, int id);
int controlId(const QWidget *control); // 0 when none was set

// The first descendant of `root` that carries `id`, or nullptr.
QWidget *findControl(const QWidget *root, int id);

template <class Control>
Control *findControl(const QWidget *root, int id)
{
    return qobject_cast<Control *>(findControl(root, id));
}

} // namespace arx

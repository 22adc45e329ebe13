#include "controls/ControlId.h"

#include <QVariant>
#include <QWidget>

namespace arx {

namespace {
constexpr const char *ControlIdProperty = "arxControlId";
}

void setControlId(QWidget *control, int id)
{
    control->setProperty(ControlIdProperty, id);
}

int controlId(const QWidget *control)
{
    return control->property(ControlIdProperty).toInt();
}

QWidget *findControl(const QWidget *root, int id)
{
    const auto children = root->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (controlId(child) == id)
            return child;
    }
    return nullptr;
}

} // namespace arx

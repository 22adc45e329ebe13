#pragma once

#include <QWidget>

namespace arx {

// A page of the page area whose controls do not exist yet (the speaker and routing pages):
// black, like every page, and empty.
class PlaceholderPage final : public QWidget {
    Q_OBJECT
public:
    explicit PlaceholderPage(QWidget *parent = nullptr);
};

} // namespace arx

#include "app/PlaceholderPage.h"

namespace arx {

PlaceholderPage::PlaceholderPage(QWidget *parent)
    : QWidget(parent)
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
}

} // namespace arx

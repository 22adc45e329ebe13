#include "controls/ControlLook.h"

#include <QLinearGradient>
#include <QPainter>

namespace arx::look {

void paintSwatchField(QPainter &painter, const QRect &rect, bool lit, const QColor &swatch)
{
    const QRectF area = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient face(area.topLeft(), area.bottomLeft());
    face.setColorAt(0, FieldTop);
    face.setColorAt(1, FieldBottom);
    painter.setBrush(face);
    painter.setPen(QPen(lit ? Accent : FieldBorder, 1));
    painter.drawRoundedRect(area, 3, 3);

    const qreal split = rect.width() - 14;
    painter.setBrush(swatch);
    painter.setPen(QPen(QColor(0, 0, 0, 140), 1));
    painter.drawRoundedRect(QRectF(3.5, 3.5, split - 6, rect.height() - 7), 2, 2);
}

} // namespace arx::look

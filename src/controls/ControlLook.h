#pragma once

#include <QColor>

class QPainter;
class QRect;

namespace arx::look {

// The dark look the drawn controls share (the colour button and the colour selector), the
// same slate and teal as the artwork.
inline const QColor FieldTop(0x24, 0x2d, 0x3d);
inline const QColor FieldBottom(0x17, 0x1d, 0x29);
inline const QColor FieldBorder(0x3b, 0x47, 0x5b);
inline const QColor Accent(0x19, 0xc6, 0xcc);
inline const QColor Muted(0x8a, 0x97, 0xab);
inline const QColor Text(0xe6, 0xea, 0xf0);

// The field of a colour control over `rect`: the gradient face with its border, lit in the
// accent while the control is active, and `swatch` filling the part left of the chevron's
// 14 pixels. The caller draws the chevron.
void paintSwatchField(QPainter &painter, const QRect &rect, bool lit, const QColor &swatch);

} // namespace arx::look

// arx-draw-routing-artwork: draws the routing grid's and the network settings dialog's
// images in the dark theme of the other controls.
//   arx-draw-routing-artwork [RESOURCE_DIR]
// Writes RESOURCE_DIR/png/<id>.png (default: the source tree's src/resources):
//   370 / 371  16 x 16   cross-point box, empty / ticked
//   372 / 373  20 x 20   address-mode toggle, empty / ticked
//   374 / 375  150 x 20  dialog button, plain / hover (drawn stretched to 100 and 120 wide)
// The drawing is deterministic, so the committed images change only when this program does.
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ArtworkKit.h"

namespace {

using namespace artwork;
using namespace artwork::theme;

// The check boxes' sunken well and rim.
const QColor WellTop(0x0e, 0x13, 0x1b);
const QColor WellBottom(0x16, 0x1c, 0x27);
const QColor BoxBorder(0x5a, 0x68, 0x7e);

// A square check box: a sunken well with a light rim, and optionally a green tick.
QImage box(int size, bool ticked)
{
    QImage image = canvas(size, size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outline = QRectF(0, 0, size, size).adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal radius = size / 6.0;
    painter.setPen(QPen(ticked ? AccentBorder : BoxBorder, 1));
    painter.setBrush(vertical(outline, WellTop, WellBottom));
    painter.drawRoundedRect(outline, radius, radius);
    if (ticked) {
        QPainterPath tick;
        tick.moveTo(size * 0.25, size * 0.52);
        tick.lineTo(size * 0.43, size * 0.70);
        tick.lineTo(size * 0.76, size * 0.32);
        painter.setPen(QPen(LedOn, size / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    }
    return image;
}

// The dialog's buttons: the rounded slate panel of the other buttons, lighter and with a
// teal rim while hovered.
QImage button(bool hover)
{
    const int width = 150, height = 20;
    QImage image = canvas(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    panel(painter, QRectF(0, 0, width, height), 3, hover ? HoverTop : SurfaceTop,
        hover ? HoverBottom : SurfaceBottom, hover ? AccentBorder : SurfaceBorder);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    const Artwork artworks[] = {
        { .folder = "png", .id = 370, .draw = [] { return box(16, false); } },
        { .folder = "png", .id = 371, .draw = [] { return box(16, true); } },
        { .folder = "png", .id = 372, .draw = [] { return box(20, false); } },
        { .folder = "png", .id = 373, .draw = [] { return box(20, true); } },
        { .folder = "png", .id = 374, .draw = [] { return button(false); } },
        { .folder = "png", .id = 375, .draw = [] { return button(true); } },
    };

    return generate(argc, argv, artworks, Alpha::Straight);
}

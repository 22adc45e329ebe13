// arx-draw-routing-artwork: draws the routing grid's and the network settings dialog's
// images in the dark theme of the other controls.
//   arx-draw-routing-artwork [RESOURCE_DIR]
// Writes RESOURCE_DIR/png/<id>.png (default: the source tree's src/resources):
//   370 / 371  16 x 16   cross-point box, empty / ticked
//   372 / 373  20 x 20   address-mode toggle, empty / ticked
//   374 / 375  150 x 20  dialog button, plain / hover (drawn stretched to 100 and 120 wide)
// The drawing is deterministic, so the committed images change only when this program does.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

// The shared palette: slate surfaces, teal accent, a green tick like the search light.
const QColor SurfaceTop(0x2a, 0x33, 0x44);
const QColor SurfaceBottom(0x19, 0x20, 0x2d);
const QColor SurfaceBorder(0x3b, 0x47, 0x5b);
const QColor HoverTop(0x33, 0x40, 0x56);
const QColor HoverBottom(0x20, 0x29, 0x3a);
const QColor AccentBorder(0x15, 0xa4, 0xab);
const QColor WellTop(0x0e, 0x13, 0x1b);
const QColor WellBottom(0x16, 0x1c, 0x27);
const QColor BoxBorder(0x5a, 0x68, 0x7e);
const QColor Tick(0x3c, 0xe6, 0x82);

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QLinearGradient vertical(const QRectF &area, const QColor &top, const QColor &bottom)
{
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

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
        painter.setPen(QPen(Tick, size / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
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
    const QRectF area(0, 0, width, height);
    const QRectF outline = area.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(
        vertical(area, hover ? HoverTop : SurfaceTop, hover ? HoverBottom : SurfaceBottom));
    painter.drawRoundedRect(outline, 3, 3);
    painter.setPen(QPen(QColor(255, 255, 255, 26), 1));
    painter.drawLine(QPointF(3, 1.5), QPointF(width - 3, 1.5));
    painter.setPen(QPen(hover ? AccentBorder : SurfaceBorder, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outline, 3, 3);
    return image;
}

struct Artwork {
    int id;
    std::function<QImage()> draw;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString root
        = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(ARX_RESOURCE_DIR);

    const Artwork artworks[] = {
        { .id = 370, .draw = [] { return box(16, false); } },
        { .id = 371, .draw = [] { return box(16, true); } },
        { .id = 372, .draw = [] { return box(20, false); } },
        { .id = 373, .draw = [] { return box(20, true); } },
        { .id = 374, .draw = [] { return button(false); } },
        { .id = 375, .draw = [] { return button(true); } },
    };

    const QString folder = root + QStringLiteral("/png");
    QDir().mkpath(folder);
    for (const Artwork &artwork : artworks) {
        const QString file = QStringLiteral("%1/%2.png").arg(folder).arg(artwork.id);
        if (!artwork.draw().convertToFormat(QImage::Format_ARGB32).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}

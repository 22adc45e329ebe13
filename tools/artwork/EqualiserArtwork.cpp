// Draws the equaliser dialog's images in the dark theme: the plot's handle rings
// (png/188..192, 16 x 16), the LOW CUT switch (png/212 off, 213 on, 80 x 26), the Reset
// button (png/216 normal, 217 pressed, 80 x 26) and the thin sliders under the knobs
// (png/340 channel left of the thumb, 341 right of it, 91 x 16; 342 thumb, 343 thumb while
// dragged, 9 x 16).
//   arx-draw-equaliser-artwork [RESOURCE_DIR]
// RESOURCE_DIR defaults to the source tree's src/resources. The output is deterministic.
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include "ArtworkKit.h"

namespace {

using namespace artwork;
using namespace artwork::theme;

// The Reset button darkens downwards when pressed, unlike the other buttons.
const QColor PressedTop(0x1b, 0x22, 0x30);
const QColor PressedBottom(0x24, 0x2d, 0x3d);

// The equaliser's artwork was drawn without text smoothing.
constexpr QPainter::RenderHints Hints = QPainter::Antialiasing | QPainter::SmoothPixmapTransform;

// --- Plot handles ------------------------------------------------------------------------

// The plot fills each handle's disc itself (blue, green when selected) and lays this image
// over it: a ring in the band's own colour, a dark outer edge that keeps the point visible
// over any fill, and a soft highlight, with the middle left clear for the label.
QImage handle(const QColor &band)
{
    QImage image = canvas(16, 16);
    QPainter painter(&image);
    antialiased(painter, Hints);
    const QPointF centre(8, 8);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(8, 10, 14, 220), 1.2));
    painter.drawEllipse(centre, 7.4, 7.4);
    painter.setPen(QPen(band, 1.6));
    painter.drawEllipse(centre, 6.3, 6.3);
    QRadialGradient shine(QPointF(6, 4.5), 6);
    shine.setColorAt(0, QColor(255, 255, 255, 90));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawEllipse(centre, 5.5, 5.5);
    return image;
}

// --- LOW CUT switch and Reset -------------------------------------------------------------

constexpr int ButtonWidth = 80;
constexpr int ButtonHeight = 26;

// A high-pass glyph at the switch's left, a status light at its right: the caption sits
// between them.
void highPassGlyph(QPainter &painter, const QRectF &box, const QColor &colour)
{
    QPainterPath path;
    path.moveTo(box.left(), box.bottom());
    path.cubicTo(box.left() + box.width() * 0.35, box.top() + box.height() * 0.1,
        box.left() + box.width() * 0.45, box.top(), box.left() + box.width() * 0.6, box.top());
    path.lineTo(box.right(), box.top());
    painter.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void statusLight(QPainter &painter, const QPointF &centre, bool on)
{
    const QColor colour = on ? Cyan : LedOff;
    if (on) {
        QRadialGradient halo(centre, 7);
        halo.setColorAt(0, QColor(0, 229, 255, 120));
        halo.setColorAt(1, QColor(0, 229, 255, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(halo);
        painter.drawEllipse(centre, 7, 7);
    }
    QRadialGradient body(centre - QPointF(0.8, 0.8), 3.6);
    body.setColorAt(0, colour.lighter(on ? 150 : 120));
    body.setColorAt(1, colour);
    painter.setPen(QPen(colour.darker(160), 0.8));
    painter.setBrush(body);
    painter.drawEllipse(centre, 2.6, 2.6);
}

QImage lowCutSwitch(bool on)
{
    QImage image = canvas(ButtonWidth, ButtonHeight);
    QPainter painter(&image);
    antialiased(painter, Hints);
    const QRectF area(0, 0, ButtonWidth, ButtonHeight);
    if (on)
        panel(painter, area, 4, OnTop, OnBottom, AccentBorder);
    else
        panel(painter, area, 4, SurfaceTop, SurfaceBottom, SurfaceBorder);
    highPassGlyph(painter, QRectF(5.5, 9.5, 7, 7), on ? Cyan : Glyph);
    statusLight(painter, QPointF(ButtonWidth - 8.5, ButtonHeight / 2.0), on);
    return image;
}

// A circular arrow at the left marks the button as a reset.
QImage resetButton(bool pressed)
{
    QImage image = canvas(ButtonWidth, ButtonHeight);
    QPainter painter(&image);
    antialiased(painter, Hints);
    const QRectF area(0, 0, ButtonWidth, ButtonHeight);
    if (pressed)
        panel(painter, area, 4, PressedTop, PressedBottom, AccentBorder);
    else
        panel(painter, area, 4, SurfaceTop, SurfaceBottom, SurfaceBorder);
    const QColor colour = pressed ? Cyan : Glyph;
    const QRectF arc(5.5, 8.5, 9, 9);
    painter.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(arc, 100 * 16, 280 * 16);
    QPolygonF head;
    head << QPointF(arc.center().x() - 0.5, arc.top() - 2.2)
         << QPointF(arc.center().x() + 3.0, arc.top() + 0.2)
         << QPointF(arc.center().x() - 0.5, arc.top() + 2.6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(head);
    return image;
}

// --- Thin slider ---------------------------------------------------------------------------

constexpr int ChannelWidth = 91; // as wide as the knob above it
constexpr int ChannelHeight = 16;
constexpr int ThumbWidth = 9;

QImage thinChannel(bool lit)
{
    QImage image = canvas(ChannelWidth, ChannelHeight);
    QPainter painter(&image);
    antialiased(painter, Hints);
    const QRectF groove(2.5, 6.5, ChannelWidth - 5, 3);
    QPainterPath path;
    path.addRoundedRect(groove, 1.5, 1.5);
    if (lit) {
        QPainterPath halo;
        halo.addRoundedRect(groove.adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);
        painter.fillPath(halo, QColor(0, 229, 255, 40));
        painter.fillPath(path, vertical(groove, QColor(120, 244, 255), QColor(0, 140, 170)));
    } else {
        painter.fillPath(path, vertical(groove, QColor(6, 6, 8), QColor(30, 32, 36)));
        painter.setPen(QPen(Rim, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    return image;
}

QImage thinThumb(bool active)
{
    QImage image = canvas(ThumbWidth, ChannelHeight);
    QPainter painter(&image);
    antialiased(painter, Hints);
    const QRectF outer(0.5, 1.5, ThumbWidth - 1, ChannelHeight - 3);
    QPainterPath body;
    body.addRoundedRect(outer, 2.5, 2.5);
    QLinearGradient face(0, 0, 0, ChannelHeight);
    face.setColorAt(0, active ? QColor(236, 250, 252) : QColor(226, 230, 235));
    face.setColorAt(0.5, active ? QColor(170, 214, 222) : QColor(176, 182, 190));
    face.setColorAt(1, active ? QColor(96, 150, 160) : QColor(120, 126, 136));
    painter.fillPath(body, face);
    painter.setPen(QPen(active ? QColor(0, 110, 134) : QColor(16, 17, 20), 1));
    painter.drawPath(body);
    painter.setPen(QPen(QColor(0, 140, 170), 1.5));
    painter.drawLine(
        QPointF(ThumbWidth / 2.0, 4.5), QPointF(ThumbWidth / 2.0, ChannelHeight - 4.5));
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    // The band colours of the plot's fills, opaque, so each point wears its band's colour.
    const Artwork artworks[] = {
        { "png", 188, [] { return handle(QColor(0xFF, 0x33, 0x33)); } },
        { "png", 189, [] { return handle(QColor(0x99, 0xCC, 0xCC)); } },
        { "png", 190, [] { return handle(QColor(0xFF, 0xFF, 0xFF)); } },
        { "png", 191, [] { return handle(QColor(0x00, 0x99, 0xCC)); } },
        { "png", 192, [] { return handle(QColor(0xCC, 0x33, 0x99)); } },
        { "png", 212, [] { return lowCutSwitch(false); } },
        { "png", 213, [] { return lowCutSwitch(true); } },
        { "png", 216, [] { return resetButton(false); } },
        { "png", 217, [] { return resetButton(true); } },
        { "png", 340, [] { return thinChannel(true); } },
        { "png", 341, [] { return thinChannel(false); } },
        { "png", 342, [] { return thinThumb(false); } },
        { "png", 343, [] { return thinThumb(true); } },
    };

    return generate(argc, argv, artworks, Alpha::Straight);
}

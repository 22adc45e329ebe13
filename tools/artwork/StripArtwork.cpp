// arx-artwork-strips: draws the artwork of the microphone strips: the family images, the
// two panels, the toggle icons, the close, OK and equaliser buttons and the strip selector.
//   arx-artwork-strips [RESOURCE_DIR]
// Writes RESOURCE_DIR/png/<id>.png and RESOURCE_DIR/bmp/<id>.png (default: the source
// tree's src/resources). Deterministic, like the other generators; the files are committed.
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ArtworkKit.h"

namespace {

using namespace artwork;

// The strips' own colours beside the shared theme; their borders are lighter than the
// other controls'.
namespace theme {
using namespace artwork::theme;
const QColor SurfaceBorder(0x4a, 0x57, 0x6d);
const QColor GreenTop(0x44, 0xe0, 0x88);
const QColor GreenBottom(0x1f, 0x9e, 0x58);
const QColor GreenBorder(0x7d, 0xf5, 0xb0);
const QColor Glyph(0xc9, 0xd2, 0xdf);
const QColor GlyphOnGreen(0x06, 0x24, 0x12);
} // namespace theme

// The strips' artwork was drawn without smoothing pixmaps.
constexpr QPainter::RenderHints Hints = QPainter::Antialiasing | QPainter::TextAntialiasing;

// The strips' panels carry a brighter sheen than the other buttons.
constexpr int Sheen = 30;

// Buttons: normal, hover, pressed; toggles: off (dark) and on (green).
enum class Look { Normal, Hover, Pressed, Off, On };

QImage face(int width, int height, Look look)
{
    QImage image = canvas(width, height);
    QPainter painter(&image);
    antialiased(painter, Hints);
    const QRectF area(0, 0, width, height);
    switch (look) {
    case Look::Normal:
    case Look::Off:
        panel(
            painter, area, 4, theme::SurfaceTop, theme::SurfaceBottom, theme::SurfaceBorder, Sheen);
        break;
    case Look::Hover:
        panel(painter, area, 4, theme::HoverTop, theme::HoverBottom, theme::AccentBorder, Sheen);
        break;
    case Look::Pressed:
        panel(painter, area, 4, theme::OnTop, theme::OnBottom, theme::AccentBorder, Sheen);
        break;
    case Look::On:
        panel(painter, area, 4, theme::GreenTop, theme::GreenBottom, theme::GreenBorder, Sheen);
        break;
    }
    return image;
}

QColor glyphColour(Look look)
{
    switch (look) {
    case Look::On:
        return theme::GlyphOnGreen;
    case Look::Hover:
    case Look::Pressed:
        return QColor(0xf2, 0xf5, 0xf9);
    default:
        return theme::Glyph;
    }
}

QPen stroke(const QColor &colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A microphone centred on `centre`, `size` pixels high.
void microphone(QPainter &painter, QPointF centre, qreal size, const QColor &colour)
{
    const qreal unit = size / 14.0;
    const QRectF capsule(centre.x() - 2.5 * unit, centre.y() - 7 * unit, 5 * unit, 8.5 * unit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(capsule, 2.5 * unit, 2.5 * unit);
    painter.setPen(stroke(colour, 1.3 * unit));
    painter.setBrush(Qt::NoBrush);
    const QRectF cradle(centre.x() - 4.2 * unit, centre.y() - 5 * unit, 8.4 * unit, 8.4 * unit);
    painter.drawArc(cradle, 180 * 16, 180 * 16);
    painter.drawLine(centre + QPointF(0, 3.4 * unit), centre + QPointF(0, 5.6 * unit));
    painter.drawLine(
        centre + QPointF(-2.6 * unit, 6.2 * unit), centre + QPointF(2.6 * unit, 6.2 * unit));
}

QImage muteToggle(bool on)
{
    const Look look = on ? Look::On : Look::Off;
    QImage image = face(25, 20, look);
    QPainter painter(&image);
    antialiased(painter, Hints);
    microphone(painter, QPointF(12.5, 10), 14, glyphColour(look));
    if (on) {
        // Struck through, with a green gap either side so the stroke reads.
        painter.setPen(stroke(theme::GreenTop, 3.2));
        painter.drawLine(QPointF(7, 3.5), QPointF(18, 16.5));
        painter.setPen(stroke(theme::GlyphOnGreen, 1.6));
        painter.drawLine(QPointF(7, 3.5), QPointF(18, 16.5));
    }
    return image;
}

QImage lowCutToggle(bool on)
{
    const Look look = on ? Look::On : Look::Off;
    QImage image = face(25, 20, look);
    QPainter painter(&image);
    antialiased(painter, Hints);
    QPainterPath curve;
    curve.moveTo(5, 16);
    curve.cubicTo(8.5, 8, 10, 6.5, 13.5, 6.5);
    curve.lineTo(20.5, 6.5);
    painter.setPen(stroke(glyphColour(look), 1.7));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(curve);
    QColor axis = glyphColour(look);
    axis.setAlpha(110);
    painter.setPen(stroke(axis, 1));
    painter.drawLine(QPointF(4.5, 16.5), QPointF(20.5, 16.5));
    return image;
}

QImage locateToggle(bool on)
{
    const Look look = on ? Look::On : Look::Off;
    QImage image = face(25, 20, look);
    QPainter painter(&image);
    antialiased(painter, Hints);
    QPainterPath pin;
    const QPointF head(12.5, 8);
    const qreal r = 4.6;
    pin.moveTo(12.5, 17);
    pin.cubicTo(11, 14.5, head.x() - r, 11, head.x() - r, head.y());
    pin.arcTo(QRectF(head.x() - r, head.y() - r, 2 * r, 2 * r), 180, -180);
    pin.cubicTo(head.x() + r, 11, 14, 14.5, 12.5, 17);
    pin.addEllipse(head, 1.8, 1.8);
    pin.setFillRule(Qt::OddEvenFill);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glyphColour(look));
    painter.drawPath(pin);
    return image;
}

QImage textButton(int width, int height, Look look, const QString &text, qreal pixels)
{
    QImage image = face(width, height, look);
    QPainter painter(&image);
    antialiased(painter, Hints);
    painter.setFont(sans(pixels, QFont::Bold, 0.3));
    painter.setPen(glyphColour(look));
    painter.drawText(QRectF(0, 0.5, width, height), Qt::AlignCenter, text);
    return image;
}

QImage closeButton(Look look)
{
    QImage image = face(24, 24, look);
    QPainter painter(&image);
    antialiased(painter, Hints);
    painter.setPen(stroke(glyphColour(look), 1.8));
    painter.drawLine(QPointF(8, 8), QPointF(16, 16));
    painter.drawLine(QPointF(16, 8), QPointF(8, 16));
    return image;
}

// The equaliser button: three slider tracks with their knobs at different heights.
QImage equaliserButton(Look look)
{
    QImage image = face(25, 20, look);
    QPainter painter(&image);
    antialiased(painter, Hints);
    const QColor colour = glyphColour(look);
    const qreal xs[3] = { 8, 12.5, 17 };
    const qreal knobs[3] = { 12, 7, 10 };
    for (int i = 0; i < 3; ++i) {
        QColor track = colour;
        track.setAlpha(120);
        painter.setPen(stroke(track, 1));
        painter.drawLine(QPointF(xs[i], 4.5), QPointF(xs[i], 15.5));
        painter.setPen(Qt::NoPen);
        painter.setBrush(look == Look::Pressed ? theme::Accent.lighter(130) : theme::Accent);
        painter.drawRoundedRect(QRectF(xs[i] - 2.2, knobs[i] - 1.5, 4.4, 3), 1, 1);
    }
    return image;
}

// A family's image: a dark badge with the unit drawn in it and the family's name below.
enum class Family { Arn1, VelK, Pxl2 };

QImage familyImage(Family family)
{
    const int width = 40, height = 70;
    QImage image = canvas(width, height);
    QPainter painter(&image);
    antialiased(painter, Hints);
    const QRectF area(0, 0, width, height);
    panel(painter, area, 6, QColor(0x26, 0x2f, 0x3f), QColor(0x12, 0x18, 0x22),
        QColor(0x3b, 0x47, 0x5b), Sheen);

    const QColor body(0xd8, 0xde, 0xe8);
    switch (family) {
    case Family::Arn1: {
        // A gooseneck microphone on a desk base.
        painter.setPen(stroke(body, 2));
        QPainterPath neck;
        neck.moveTo(20, 46);
        neck.cubicTo(20, 30, 14, 26, 16, 14);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(neck);
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme::Accent);
        painter.save();
        painter.translate(16.5, 11);
        painter.rotate(-12);
        painter.drawRoundedRect(QRectF(-3.5, -6, 7, 11), 3.5, 3.5);
        painter.restore();
        painter.setBrush(body);
        painter.drawRoundedRect(QRectF(9, 45, 22, 5), 2, 2);
        break;
    }
    case Family::VelK: {
        // A boundary microphone: a flat unit with its grille and a button.
        painter.setPen(Qt::NoPen);
        painter.setBrush(body);
        QPainterPath shell;
        shell.moveTo(5, 44);
        shell.lineTo(10, 28);
        shell.lineTo(30, 28);
        shell.lineTo(35, 44);
        shell.closeSubpath();
        painter.drawPath(shell);
        painter.setBrush(theme::Accent);
        painter.drawRoundedRect(QRectF(12, 31, 16, 5), 2, 2);
        painter.setBrush(QColor(0x3c, 0xe6, 0x82));
        painter.drawEllipse(QPointF(20, 40.5), 2, 2);
        painter.setPen(stroke(theme::Accent, 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(QRectF(12, 10, 16, 16), 30 * 16, 120 * 16);
        painter.drawArc(QRectF(15.5, 14.5, 9, 9), 30 * 16, 120 * 16);
        break;
    }
    case Family::Pxl2: {
        // A microphone with its light ring glowing, and the equaliser it carries.
        painter.setPen(stroke(body, 2));
        painter.drawLine(QPointF(20, 26), QPointF(20, 45));
        painter.setPen(Qt::NoPen);
        painter.setBrush(body);
        painter.drawRoundedRect(QRectF(9, 45, 22, 5), 2, 2);
        painter.setBrush(QColor(0x3c, 0xe6, 0x82, 70));
        painter.drawEllipse(QPointF(20, 16), 11, 11);
        painter.setPen(stroke(QColor(0x3c, 0xe6, 0x82), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(20, 16), 8.5, 8.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(theme::Accent);
        painter.drawRoundedRect(QRectF(16.5, 9.5, 7, 12), 3.5, 3.5);
        break;
    }
    }

    const char *names[] = { "ARN1", "VEL-K", "PXL2" };
    painter.setFont(sans(9.5, QFont::Bold, 0.4));
    painter.setPen(QColor(0xe6, 0xea, 0xf0));
    painter.drawText(QRectF(0, 53, width, 13), Qt::AlignCenter,
        QString::fromLatin1(names[static_cast<int>(family)]));
    return image;
}

// A strip's panel, stretched over the whole strip: flat in the strip's colour (the labels
// are filled with it), a highlight along the top, a shadow along the bottom and a teal
// accent at the left.
QImage stripPanel(const QColor &colour)
{
    const int width = 1000, height = 80;
    QImage image = canvas(width, height);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, width, height), colour);
    painter.fillRect(QRect(0, 0, width, 1), colour.lighter(135));
    painter.fillRect(QRect(0, 1, width, 1), colour.lighter(112));
    painter.fillRect(QRect(0, height - 1, width, 1), colour.darker(170));
    painter.fillRect(QRect(0, height - 2, width, 1), colour.darker(125));
    painter.fillRect(QRect(0, 0, 3, height), theme::AccentBorder);
    return image;
}

// The strip's drop-down selector, 60 pixels wide.
QImage selector(bool active)
{
    const int width = 60, height = 20;
    QImage image = canvas(width, height);
    QPainter painter(&image);
    antialiased(painter, Hints);
    const QRectF area(0, 0, width, height);
    if (active)
        panel(painter, area, 3, QColor(0x12, 0x3a, 0x44), QColor(0x0b, 0x26, 0x2e),
            theme::AccentBorder, Sheen);
    else
        panel(painter, area, 3, QColor(0x24, 0x2d, 0x3d), QColor(0x17, 0x1d, 0x29),
            theme::SurfaceBorder, Sheen);
    const qreal split = width - 16;
    painter.setPen(QPen(active ? theme::AccentBorder : theme::SurfaceBorder, 1));
    painter.drawLine(QPointF(split + 0.5, 4), QPointF(split + 0.5, height - 4));
    QPainterPath chevron;
    const QPointF centre(split + 8, height / 2.0 + 1);
    chevron.moveTo(centre + QPointF(-3.5, -2));
    chevron.lineTo(centre + QPointF(0, 1.5));
    chevron.lineTo(centre + QPointF(3.5, -2));
    painter.setPen(stroke(active ? theme::Accent : theme::Muted, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chevron);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    const Artwork artworks[] = {
        { "png", 300, [] { return familyImage(Family::Arn1); } },
        { "png", 301, [] { return familyImage(Family::VelK); } },
        { "png", 302, [] { return familyImage(Family::Pxl2); } },
        { "png", 303, [] { return stripPanel(QColor(0x52, 0x52, 0x52)); } },
        { "png", 304, [] { return stripPanel(QColor(0x3A, 0x3A, 0x3A)); } },
        { "png", 305, [] { return muteToggle(false); } },
        { "png", 306, [] { return muteToggle(true); } },
        { "png", 307, [] { return lowCutToggle(false); } },
        { "png", 308, [] { return lowCutToggle(true); } },
        { "png", 309, [] { return locateToggle(false); } },
        { "png", 310, [] { return locateToggle(true); } },
        { "png", 311, [] { return textButton(25, 20, Look::Off, QStringLiteral("48V"), 9); } },
        { "png", 312, [] { return textButton(25, 20, Look::On, QStringLiteral("48V"), 9); } },
        { "png", 313, [] { return closeButton(Look::Normal); } },
        { "png", 314, [] { return closeButton(Look::Pressed); } },
        { "png", 315, [] { return closeButton(Look::Hover); } },
        { "png", 316, [] { return textButton(32, 24, Look::Normal, QStringLiteral("OK"), 11); } },
        { "png", 317, [] { return textButton(32, 24, Look::Pressed, QStringLiteral("OK"), 11); } },
        { "png", 318, [] { return equaliserButton(Look::Normal); } },
        { "png", 319, [] { return equaliserButton(Look::Pressed); } },
        { "bmp", 320, [] { return selector(false); } },
        { "bmp", 321, [] { return selector(true); } },
    };

    return generate(argc, argv, artworks, Alpha::AsPainted);
}

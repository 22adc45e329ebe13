// arx-artwork-controls: draws the artwork of the buttons, selectors, banner and icon.
//   arx-artwork-controls [RESOURCE_DIR]
// Writes RESOURCE_DIR/png/<id>.png and RESOURCE_DIR/bmp/<id>.png (default: the source
// tree's src/resources). The drawing is deterministic: running it again on the same fonts
// gives the same files, which are committed.
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "ArtworkKit.h"

namespace {

using namespace artwork;

// The colours only the page tabs use, beside the shared theme.
namespace theme {
using namespace artwork::theme;
const QColor TabTop(0x17, 0x1d, 0x29);
const QColor TabBottom(0x10, 0x15, 0x1e);
const QColor Divider(0x2a, 0x33, 0x44);
} // namespace theme

void led(QPainter &painter, const QPointF &centre, qreal radius, const QColor &colour, bool glow)
{
    if (glow) {
        QRadialGradient halo(centre, radius * 3);
        QColor inner = colour;
        inner.setAlpha(110);
        QColor outer = colour;
        outer.setAlpha(0);
        halo.setColorAt(0, inner);
        halo.setColorAt(1, outer);
        painter.setPen(Qt::NoPen);
        painter.setBrush(halo);
        painter.drawEllipse(centre, radius * 3, radius * 3);
    }
    QRadialGradient body(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    body.setColorAt(0, colour.lighter(glow ? 150 : 120));
    body.setColorAt(1, colour);
    painter.setPen(QPen(colour.darker(160), 0.8));
    painter.setBrush(body);
    painter.drawEllipse(centre, radius, radius);
}

// Push and toggle buttons: the normal, hover and on/pressed looks.
enum class Look { Normal, Hover, On };

QImage button(int width, int height, Look look)
{
    QImage image = canvas(width, height);
    QPainter painter(&image);
    antialiased(painter);
    const QRectF area(0, 0, width, height);
    switch (look) {
    case Look::Normal:
        panel(painter, area, 4, theme::SurfaceTop, theme::SurfaceBottom, theme::SurfaceBorder);
        break;
    case Look::Hover:
        panel(painter, area, 4, theme::HoverTop, theme::HoverBottom, theme::AccentBorder);
        break;
    case Look::On:
        panel(painter, area, 4, theme::OnTop, theme::OnBottom, theme::AccentBorder);
        break;
    }
    return image;
}

// The search button carries a status light on its left: dim while searching is off.
QImage searchButton(bool on)
{
    QImage image = button(100, 30, on ? Look::On : Look::Normal);
    QPainter painter(&image);
    antialiased(painter);
    led(painter, QPointF(12.5, 15), 3.2, on ? theme::LedOn : theme::LedOff, on);
    return image;
}

// Page tabs, a quarter of the window wide: dark when not selected, lit from below when
// selected. `bright` adds a soft glow behind the selected tab's accent.
QImage pageTab(bool selected, bool bright)
{
    const int width = 320, height = 30;
    QImage image = canvas(width, height);
    QPainter painter(&image);
    antialiased(painter);
    const QRectF area(0, 0, width, height);
    if (!selected) {
        painter.fillRect(area, vertical(area, theme::TabTop, theme::TabBottom));
        painter.fillRect(QRectF(0, height - 1, width, 1), theme::Divider);
    } else {
        painter.fillRect(area, vertical(area, QColor(0x1b, 0x2a, 0x38), QColor(0x12, 0x22, 0x2c)));
        QLinearGradient glow(QPointF(0, height), QPointF(0, height - 16));
        QColor lit = theme::Accent;
        lit.setAlpha(bright ? 90 : 55);
        QColor none = theme::Accent;
        none.setAlpha(0);
        glow.setColorAt(0, lit);
        glow.setColorAt(1, none);
        painter.fillRect(area, glow);
        painter.fillRect(QRectF(0, height - 3, width, 3), theme::Accent);
    }
    // Dividers between neighbouring tabs.
    painter.fillRect(QRectF(width - 1, 5, 1, height - 10), theme::Divider);
    painter.fillRect(QRectF(0, 0, width, 1), QColor(255, 255, 255, 12));
    return image;
}

// The drop-down selector: a field with a chevron in its right twenty pixels.
QImage selector(bool active)
{
    const int width = 91, height = 20;
    QImage image = canvas(width, height);
    QPainter painter(&image);
    antialiased(painter);
    const QRectF area(0, 0, width, height);
    if (active)
        panel(painter, area, 3, QColor(0x12, 0x3a, 0x44), QColor(0x0b, 0x26, 0x2e),
            theme::AccentBorder);
    else
        panel(painter, area, 3, QColor(0x24, 0x2d, 0x3d), QColor(0x17, 0x1d, 0x29),
            theme::SurfaceBorder);

    const qreal split = width - 20;
    painter.setPen(QPen(active ? theme::AccentBorder : theme::SurfaceBorder, 1));
    painter.drawLine(QPointF(split + 0.5, 4), QPointF(split + 0.5, height - 4));

    QPainterPath chevron;
    const QPointF centre(split + 10, height / 2.0 + 1);
    chevron.moveTo(centre + QPointF(-4, -2.5));
    chevron.lineTo(centre + QPointF(0, 1.5));
    chevron.lineTo(centre + QPointF(4, -2.5));
    painter.setPen(QPen(
        active ? theme::Accent : theme::Muted, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chevron);
    return image;
}

// Five level bars rising left to right: the mark used in the banner and the icon.
void levelMark(QPainter &painter, const QRectF &box, const QColor &from, const QColor &to)
{
    const int bars = 5;
    const qreal gap = box.width() * 0.08;
    const qreal barWidth = (box.width() - gap * (bars - 1)) / bars;
    const qreal heights[bars] = { 0.38, 0.62, 1.0, 0.74, 0.48 };
    QLinearGradient fill(box.bottomLeft(), box.topLeft());
    fill.setColorAt(0, from);
    fill.setColorAt(1, to);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    for (int bar = 0; bar < bars; ++bar) {
        const qreal h = box.height() * heights[bar];
        const QRectF rect(box.left() + bar * (barWidth + gap), box.bottom() - h, barWidth, h);
        painter.drawRoundedRect(rect, barWidth / 2, barWidth / 2);
    }
}

QImage banner()
{
    const int width = 1280, height = 50;
    QImage image = canvas(width, height);
    QPainter painter(&image);
    antialiased(painter);
    const QRectF area(0, 0, width, height);
    painter.fillRect(area, vertical(area, QColor(0x15, 0x1c, 0x28), theme::Ink));

    // Faint sound waves spreading towards the right.
    for (int ring = 0; ring < 9; ++ring) {
        QColor wave = theme::Accent;
        wave.setAlpha(22 - ring * 2);
        painter.setPen(QPen(wave, 1.2));
        painter.setBrush(Qt::NoBrush);
        const qreal r = 60 + ring * 38;
        painter.drawEllipse(QPointF(width + 20, height / 2.0), r, r);
    }

    levelMark(painter, QRectF(18, 12, 26, 26), theme::AccentBorder, QColor(0x7d, 0xf3, 0xf6));

    painter.setFont(sans(26, QFont::Bold, 3));
    painter.setPen(QColor(0xf2, 0xf5, 0xf9));
    painter.drawText(
        QRectF(56, 0, 120, height), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ARX"));
    painter.fillRect(QRectF(128, 15, 1, 20), theme::Divider);
    painter.setFont(sans(10.5, QFont::DemiBold, 2.2));
    painter.setPen(theme::Muted);
    painter.drawText(QRectF(140, 0, 400, height), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("CONFERENCE AUDIO CONTROL"));

    QLinearGradient rule(QPointF(0, 0), QPointF(width, 0));
    rule.setColorAt(0, theme::Accent);
    QColor fading = theme::Accent;
    fading.setAlpha(0);
    rule.setColorAt(0.75, fading);
    painter.fillRect(QRectF(0, height - 2, width, 2), rule);
    return image;
}

// The application icon: a microphone with the level mark in front of it.
QImage icon()
{
    const int size = 256;
    QImage image = canvas(size, size);
    QPainter painter(&image);
    antialiased(painter);
    const QRectF area(8, 8, size - 16, size - 16);
    painter.setPen(QPen(theme::SurfaceBorder, 3));
    painter.setBrush(vertical(area, QColor(0x1e, 0x28, 0x39), theme::Ink));
    painter.drawRoundedRect(area.adjusted(1.5, 1.5, -1.5, -1.5), 48, 48);

    // Capsule.
    const QRectF capsule(98, 44, 60, 104);
    QLinearGradient metal(capsule.topLeft(), capsule.topRight());
    metal.setColorAt(0, QColor(0x7d, 0xf3, 0xf6));
    metal.setColorAt(0.5, theme::Accent);
    metal.setColorAt(1, QColor(0x0b, 0x6f, 0x76));
    painter.setPen(Qt::NoPen);
    painter.setBrush(metal);
    painter.drawRoundedRect(capsule, 30, 30);
    painter.setPen(QPen(QColor(0x08, 0x3c, 0x42, 150), 3, Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 4; ++line) {
        const qreal y = 70 + line * 16;
        painter.drawLine(QPointF(110, y), QPointF(146, y));
    }

    // Cradle and stand.
    painter.setPen(QPen(QColor(0xd8, 0xde, 0xe8), 9, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(80, 80, 96, 96), 180 * 16, 180 * 16);
    painter.drawLine(QPointF(128, 176), QPointF(128, 204));
    painter.drawLine(QPointF(100, 208), QPointF(156, 208));

    // Waves on either side.
    for (int ring = 0; ring < 2; ++ring) {
        QColor wave = theme::Accent;
        wave.setAlpha(200 - ring * 80);
        painter.setPen(QPen(wave, 7, Qt::SolidLine, Qt::RoundCap));
        const qreal r = 86 + ring * 22;
        const QRectF box(128 - r, 96 - r, 2 * r, 2 * r);
        painter.drawArc(box, 150 * 16, 60 * 16);
        painter.drawArc(box, -30 * 16, 60 * 16);
    }
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    const Artwork artworks[] = {
        { "png", 128, icon },
        { "png", 131, [] { return pageTab(false, false); } },
        { "png", 132, [] { return pageTab(true, false); } },
        { "png", 163, [] { return pageTab(true, true); } },
        { "png", 144, [] { return button(100, 24, Look::Normal); } },
        { "png", 145, [] { return button(100, 24, Look::On); } },
        { "png", 171, banner },
        { "png", 200, [] { return button(100, 30, Look::Hover); } },
        { "png", 201, [] { return button(100, 30, Look::Normal); } },
        { "png", 202, [] { return searchButton(false); } },
        { "png", 203, [] { return searchButton(true); } },
        { "bmp", 138, [] { return selector(false); } },
        { "bmp", 139, [] { return selector(true); } },
    };

    return generate(argc, argv, artworks, Alpha::AsPainted);
}

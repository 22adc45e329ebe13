// Draws the spin knob's zone bitmaps (bmp/140, 141, 142: 91 x 20) and the level slider's
// images (png/168 and png/170: 247 x 19 channel, png/147: 16 x 19 thumb) in the dark theme.
//   arx-draw-knob-slider-artwork [RESOURCE_DIR]
// RESOURCE_DIR defaults to the source tree's src/resources. The output is deterministic, so
// the committed images change only when this program does.
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include "ArtworkKit.h"

namespace {

using namespace artwork;
using namespace artwork::theme;

// The knob's own shades beside the shared theme.
const QColor CyanDeep(0, 150, 180);
const QColor RimLight(104, 110, 120);
const QColor BodyTop(46, 49, 55);
const QColor BodyBottom(24, 25, 29);
const QColor Well(12, 13, 16);

// --- Spin knob --------------------------------------------------------------------------

enum class Hot { None, Left, Right };

constexpr int KnobWidth = 91;
constexpr int KnobHeight = 20;
constexpr int MiddleStart = 16; // the zones of a 91-pixel knob: 0..15, 16..73, 74..90
constexpr int RightStart = 74;

void drawArrow(QPainter &painter, QRectF zone, bool pointsRight, const QColor &colour)
{
    const QPointF c = zone.center();
    const qreal h = 3.5;
    const qreal w = 3.0;
    QPolygonF arrow;
    if (pointsRight)
        arrow << QPointF(c.x() - w / 2, c.y() - h) << QPointF(c.x() + w, c.y())
              << QPointF(c.x() - w / 2, c.y() + h);
    else
        arrow << QPointF(c.x() + w / 2, c.y() - h) << QPointF(c.x() - w, c.y())
              << QPointF(c.x() + w / 2, c.y() + h);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(arrow);
}

void drawHotZone(QPainter &painter, const QRectF &zone)
{
    QLinearGradient glow(zone.topLeft(), zone.bottomLeft());
    glow.setColorAt(0, QColor(0, 96, 116));
    glow.setColorAt(1, QColor(0, 52, 64));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawRect(zone);
}

QImage knob(Hot hot)
{
    QImage image = canvas(KnobWidth, KnobHeight);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF outer(0.5, 0.5, KnobWidth - 1, KnobHeight - 1);
    QPainterPath body;
    body.addRoundedRect(outer, 4, 4);

    QLinearGradient face(0, 0, 0, KnobHeight);
    face.setColorAt(0, BodyTop);
    face.setColorAt(1, BodyBottom);
    painter.fillPath(body, face);

    painter.save();
    painter.setClipPath(body);
    const QRectF left(0, 0, MiddleStart, KnobHeight);
    const QRectF right(RightStart, 0, KnobWidth - RightStart, KnobHeight);
    if (hot == Hot::Left)
        drawHotZone(painter, left);
    if (hot == Hot::Right)
        drawHotZone(painter, right);

    // The value window between the two sides, sunk into the face.
    const QRectF well(MiddleStart + 0.5, 3.5, RightStart - MiddleStart - 1, KnobHeight - 7);
    QPainterPath wellPath;
    wellPath.addRoundedRect(well, 2, 2);
    painter.fillPath(wellPath, Well);
    painter.setPen(QPen(QColor(0, 0, 0, 200), 1));
    painter.drawLine(QPointF(well.left() + 2, well.top()), QPointF(well.right() - 2, well.top()));
    painter.setPen(QPen(QColor(255, 255, 255, 28), 1));
    painter.drawLine(
        QPointF(well.left() + 2, well.bottom() + 1), QPointF(well.right() - 2, well.bottom() + 1));

    // Seams between the zones.
    for (const int x : { MiddleStart, RightStart }) {
        painter.setPen(QPen(QColor(0, 0, 0, 220), 1));
        painter.drawLine(QPointF(x - 0.5, 2), QPointF(x - 0.5, KnobHeight - 2));
    }
    painter.restore();

    drawArrow(painter, left, false, hot == Hot::Left ? Cyan : Glyph);
    drawArrow(painter, right, true, hot == Hot::Right ? Cyan : Glyph);

    // Rim: a lit top edge over a darker frame.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Rim, 1));
    painter.drawPath(body);
    painter.setPen(QPen(RimLight, 1));
    painter.drawLine(QPointF(4, 1), QPointF(KnobWidth - 4, 1));
    if (hot != Hot::None) {
        const QRectF &zone = hot == Hot::Left ? left : right;
        painter.save();
        painter.setClipRect(zone);
        painter.setPen(QPen(CyanDeep, 1));
        painter.drawPath(body);
        painter.restore();
    }
    return image;
}

// --- Level slider ------------------------------------------------------------------------

constexpr int ChannelWidth = 247;
constexpr int ChannelHeight = 19;
constexpr int ThumbWidth = 16;
constexpr int ThumbHeight = 19;

// Ticks at both ends of the travel and at every tenth of it in between, at the pixels where
// the thumb's centre stands for those positions.
void drawTicks(QPainter &painter, const QColor &colour)
{
    const int first = ThumbWidth / 2;
    const int travel = ChannelWidth - ThumbWidth;
    painter.setPen(QPen(colour, 1));
    for (int k = 0; k <= 10; ++k) {
        const qreal x = first + travel * k / 10 + 0.5;
        const qreal length = (k % 5 == 0) ? 3 : 2;
        painter.drawLine(QPointF(x, 0), QPointF(x, length));
        painter.drawLine(QPointF(x, ChannelHeight - length), QPointF(x, ChannelHeight));
    }
}

QImage channel(bool lit)
{
    QImage image = canvas(ChannelWidth, ChannelHeight);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    drawTicks(painter, lit ? QColor(0, 170, 196) : QColor(70, 74, 82));

    const QRectF groove(2.5, 6.5, ChannelWidth - 5, 6);
    QPainterPath path;
    path.addRoundedRect(groove, 3, 3);
    if (lit) {
        // A soft halo under the lit bar.
        QPainterPath halo;
        halo.addRoundedRect(groove.adjusted(-1.5, -1.5, 1.5, 1.5), 4.5, 4.5);
        painter.fillPath(halo, QColor(0, 229, 255, 46));
        QLinearGradient fill(0, groove.top(), 0, groove.bottom());
        fill.setColorAt(0, QColor(120, 244, 255));
        fill.setColorAt(0.45, Cyan);
        fill.setColorAt(1, QColor(0, 128, 156));
        painter.fillPath(path, fill);
        painter.setPen(QPen(QColor(0, 110, 134), 1));
    } else {
        QLinearGradient fill(0, groove.top(), 0, groove.bottom());
        fill.setColorAt(0, QColor(6, 6, 8));
        fill.setColorAt(1, QColor(30, 32, 36));
        painter.fillPath(path, fill);
        painter.setPen(QPen(Rim, 1));
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    return image;
}

QImage thumb()
{
    QImage image = canvas(ThumbWidth, ThumbHeight);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF outer(1.5, 0.5, ThumbWidth - 3, ThumbHeight - 1);
    QPainterPath body;
    body.addRoundedRect(outer, 3, 3);
    QLinearGradient face(0, 0, 0, ThumbHeight);
    face.setColorAt(0, QColor(226, 230, 235));
    face.setColorAt(0.5, QColor(176, 182, 190));
    face.setColorAt(1, QColor(120, 126, 136));
    painter.fillPath(body, face);
    painter.setPen(QPen(QColor(16, 17, 20), 1));
    painter.drawPath(body);

    // Grip: two grooves either side of a cyan index line at the thumb's centre pixel.
    const qreal centre = ThumbWidth / 2 + 0.5;
    painter.setPen(QPen(QColor(0, 140, 170), 2));
    painter.drawLine(QPointF(centre, 4), QPointF(centre, ThumbHeight - 4));
    painter.setPen(QPen(QColor(90, 96, 104), 1));
    for (const qreal dx : { -3.0, 3.0 })
        painter.drawLine(QPointF(centre + dx, 5), QPointF(centre + dx, ThumbHeight - 5));
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    const Artwork artworks[] = {
        { "bmp", 140, [] { return knob(Hot::None); } },
        { "bmp", 141, [] { return knob(Hot::Left); } },
        { "bmp", 142, [] { return knob(Hot::Right); } },
        { "png", 168, [] { return channel(false); } },
        { "png", 170, [] { return channel(true); } },
        { "png", 147, thumb },
    };
    // No text to draw, and the committed images were drawn without an application.
    return generate(argc, argv, artworks, Alpha::Straight, Application::None);
}

#include "ArtworkKit.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

namespace artwork {

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void antialiased(QPainter &painter, QPainter::RenderHints hints)
{
    painter.setRenderHints(hints);
}

QLinearGradient vertical(const QRectF &area, const QColor &top, const QColor &bottom)
{
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QFont sans(qreal pixels, int weight, qreal spacing)
{
    QFont font;
    font.setFamilies({ QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans") });
    font.setPixelSize(qRound(pixels));
    font.setWeight(QFont::Weight(weight));
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void panel(QPainter &painter, const QRectF &area, qreal radius, const QColor &top,
    const QColor &bottom, const QColor &border, int sheenAlpha)
{
    const QRectF outline = area.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(vertical(area, top, bottom));
    painter.drawRoundedRect(outline, radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255, sheenAlpha), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(area.left() + radius, area.top() + 1.5),
        QPointF(area.right() - radius, area.top() + 1.5));
    painter.setPen(QPen(border, 1));
    painter.drawRoundedRect(outline, radius, radius);
}

namespace {

int writeAll(const QString &root, std::span<const Artwork> artworks, Alpha alpha)
{
    for (const Artwork &artwork : artworks) {
        const QString folder = root + QLatin1Char('/') + QLatin1String(artwork.folder);
        QDir().mkpath(folder);
        const QString file = QStringLiteral("%1/%2.png").arg(folder).arg(artwork.id);
        QImage image = artwork.draw();
        if (alpha == Alpha::Straight)
            image = image.convertToFormat(QImage::Format_ARGB32);
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}

} // namespace

int generate(
    int argc, char *argv[], std::span<const Artwork> artworks, Alpha alpha, Application application)
{
    const QString root
        = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(ARX_RESOURCE_DIR);
    if (application == Application::None)
        return writeAll(root, artworks, alpha);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return writeAll(root, artworks, alpha);
}

} // namespace artwork

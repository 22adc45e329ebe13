#include "controls/Artwork.h"

#include <QHash>
#include <QString>

namespace arx {

namespace {

// Decoded once per number: the routing page alone sets 6144 buttons from the same two
// images. QImage copies share their pixels.
QImage cached(QHash<int, QImage> &cache, const char *folder, int id)
{
    const auto found = cache.constFind(id);
    if (found != cache.constEnd())
        return *found;
    QImage image(QStringLiteral(":/%1/%2.png").arg(QLatin1String(folder)).arg(id));
    cache.insert(id, image);
    return image;
}

} // namespace

QImage pngImage(int id)
{
    static QHash<int, QImage> cache;
    return cached(cache, "png", id);
}

QImage bitmapImage(int id)
{
    static QHash<int, QImage> cache;
    return cached(cache, "bmp", id);
}

} // namespace arx

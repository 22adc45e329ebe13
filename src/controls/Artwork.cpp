#include "controls/Artwork.h"

#include <QString>

namespace arx {

QImage pngImage(int id)
{
    return QImage(QStringLiteral(":/png/%1.png").arg(id));
}

QImage bitmapImage(int id)
{
    return QImage(QStringLiteral(":/bmp/%1.png").arg(id));
}

} // namespace arx

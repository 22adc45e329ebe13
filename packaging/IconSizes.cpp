// arx-icon-sizes SOURCE FOLDER NAME SIZE...: the application icon at the sizes desktops ask
// for, written as FOLDER/<SIZE>x<SIZE>/apps/NAME.png (the layout of the hicolor theme) and
// scaled from the one drawing, so that the build reproduces them from the repository.
#include <QDir>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fputs("usage: arx-icon-sizes SOURCE FOLDER NAME SIZE...\n", stderr);
        return 2;
    }
    const QString sourcePath = QString::fromLocal8Bit(argv[1]);
    QImage source(sourcePath);
    if (source.isNull()) {
        std::fprintf(stderr, "arx-icon-sizes: cannot read %s\n", argv[1]);
        return 1;
    }
    // Averaged premultiplied, so that the transparent corners leave no dark fringe.
    source = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size <= 0 || size > source.width() || size > source.height()) {
            std::fprintf(stderr, "arx-icon-sizes: %s is no size between 1 and %d\n", argv[i],
                std::min(source.width(), source.height()));
            return 2;
        }
        const QImage icon
            = source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_ARGB32);
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString path = apps + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(apps) || !icon.save(path, "PNG")) {
            std::fprintf(stderr, "arx-icon-sizes: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

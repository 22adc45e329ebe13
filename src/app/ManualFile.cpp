#include "app/ManualFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace arx {

QStringList manualFolders()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    // Relative to the program, so that a package tree unpacked anywhere finds its own data.
    return { programFolder,
        QDir::cleanPath(programFolder + QStringLiteral("/" ARX_DATA_FROM_PROGRAM)) };
}

QString findManual(const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(ManualFileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString manualPath()
{
    return findManual(manualFolders());
}

bool openDocument(const QString &path)
{
    // The viewer would complain about a missing file in a window of its own.
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace arx

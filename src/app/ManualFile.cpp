#include "app/ManualFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace arx {

QString manualPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(ManualFileName);
}

bool openDocument(const QString &path)
{
    // The viewer would complain about a missing file in a window of its own.
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace arx

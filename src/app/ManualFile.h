#pragma once

#include <QString>
#include <QStringList>

namespace arx {

// The operator's manual, as the build places it next to the program.
inline const QString ManualFileName = QStringLiteral("ARX 软件功能介绍1104.pdf");

// Where HELP looks for the manual, in order: the running program's folder (the build
// tree), then the data folder of an installed program (bin/../share/arx, so /usr/share/arx
// for /usr/bin/arx, wherever the package tree was put).
QStringList manualFolders();

// The manual in the first of `folders` that holds it, or an empty path when none does.
QString findManual(const QStringList &folders);

// The manual HELP opens: findManual(manualFolders()).
QString manualPath();

// Opens a document with the desktop's viewer for its kind. A file that is not there is not
// opened and not reported: nothing visible happens. True when the desktop was asked.
bool openDocument(const QString &path);

} // namespace arx

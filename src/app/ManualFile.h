#pragma once

#include <QString>

namespace arx {

// The operator's manual, as the build places it next to the program.
inline const QString ManualFileName = QStringLiteral("ARX 软件功能介绍1104.pdf");

// The manual in the running program's folder.
QString manualPath();

// Opens a document with the desktop's viewer for its kind. A file that is not there is not
// opened and not reported: nothing visible happens. True when the desktop was asked.
bool openDocument(const QString &path);

} // namespace arx

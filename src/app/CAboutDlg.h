#pragma once

#include <QDialog>

namespace arx {

// The about box: caption "关于 ARX1.2", the application icon and "ARX1.2 版", and OK.
class CAboutDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};

// The menu item that opens it, as the window menu of the main window has always named it.
inline const QString AboutMenuText = QStringLiteral("关于 ARX(&A)...");

} // namespace arx

#include "app/CAboutDlg.h"

#include "controls/Artwork.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

namespace arx {

namespace {
constexpr int IconSize = 48;
}

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("关于 ARX1.2"));

    auto *icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(
        pngImage(128).scaled(IconSize, IconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    auto *text = new QLabel(QStringLiteral("ARX1.2 版"), this);
    text->setObjectName(QStringLiteral("aboutText"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(20, 20, 20, 14);
    grid->setHorizontalSpacing(20);
    grid->addWidget(icon, 0, 0, Qt::AlignTop);
    grid->addWidget(text, 0, 1, Qt::AlignVCenter);
    grid->addWidget(buttons, 1, 0, 1, 2);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

} // namespace arx

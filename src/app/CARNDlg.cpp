#include "app/CARNDlg.h"

#include "model/Store.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace arx {

namespace {
constexpr int StartWidth = 1280;
constexpr int StartHeight = 768;
} // namespace

CARNDlg::CARNDlg(Store &store, Link &link, Clock &clock, Prompts &prompts, QWidget *parent)
    : QWidget(parent), store_(store), link_(link), clock_(clock), prompts_(prompts)
{
    setWindowTitle(QStringLiteral("ARX 1.2"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    store_.eulerConstant = computeEulerConstant();
    SetDefaults(store_);

    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    setGeometry(available.left(), available.top(), StartWidth, StartHeight);
}

void CARNDlg::closeEvent(QCloseEvent *event)
{
    emit closing();
    event->accept();
}

} // namespace arx

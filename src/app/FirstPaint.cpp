#include "app/FirstPaint.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

namespace arx {

namespace {

// Ends the loop on the turn after the window's first paint, once the painted frame has been
// flushed to the screen.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(QEventLoop &loop)
        : loop_(loop)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, &loop_, &QEventLoop::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop &loop_;
    bool painted_ = false;
};

} // namespace

void waitForFirstPaint(QWidget &window, std::chrono::milliseconds limit)
{
    if (!window.isVisible())
        return;
    QEventLoop loop;
    PaintWatch watch(loop);
    window.installEventFilter(&watch);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    window.removeEventFilter(&watch);
}

} // namespace arx

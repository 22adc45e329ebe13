#pragma once

#include <QObject>

class QSocketNotifier;

namespace arx {

// SIGTERM and SIGINT as a Qt signal on the thread that made this object, through a pipe that
// the signal handler writes one byte to (all a handler may safely do). One object at a time.
class StopSignals final : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    // Gives both signals their default action back.
    ~StopSignals() override;

signals:
    void stopRequested();

private:
    QSocketNotifier *notifier_ = nullptr;
};

} // namespace arx

#pragma once

#include <QWidget>

namespace arx {

class Clock;
class Link;
class Prompts;
struct Store;

// The one top-level window: "ARX 1.2", 1280 x 768 at the screen's top-left, black.
class CARNDlg final : public QWidget {
    Q_OBJECT
public:
    CARNDlg(Store &store, Link &link, Clock &clock, Prompts &prompts, QWidget *parent = nullptr);

signals:
    // The operator closed the window; the receive thread must stop before anything else.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Store &store_;
    Link &link_;
    Clock &clock_;
    Prompts &prompts_;
};

} // namespace arx

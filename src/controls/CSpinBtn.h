#pragma once

#include "controls/SelectorLogic.h"
#include "format/KnobRepeat.h"
#include "format/KnobZones.h"
#include "format/ValueKind.h"

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

namespace arx {

class Clock;

// The value knob of the speaker page and the equaliser: a 91 x 20 button showing a value in
// its kind's format. The left zone steps down and the right up (held, they repeat once the
// pointer has rested, frequencies accelerating); the middle opens the numeric entry; the
// wheel and the arrow keys step too. Every operator change emits spinChanged(control id,
// value); setValue only redraws.
//
// Time comes from the Clock seam: advance() does whatever a held side has due at the
// clock's time. In production a timer calls it; tests step a ManualClock and call it.
class CSpinBtn : public QWidget {
    Q_OBJECT

public:
    // Asks the operator for a number in display units, starting from `shown`; nullopt when
    // they cancel. Production runs the modal CSpindataDlg; tests script the answer.
    using NumericEntry = std::function<std::optional<float>(QWidget *knob, float shown)>;

    explicit CSpinBtn(const Clock &clock, QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);
    void setValueKind(ValueKind kind) { kind_ = kind; }
    // Clamps to the range and shows the value in the kind's format; emits nothing.
    void setValue(int value);
    // The knob whose value bounds this one's, for the partner frequency kinds.
    void setPartner(const CSpinBtn *partner) { partner_ = partner; }
    void setNumericEntry(NumericEntry entry) { entry_ = std::move(entry); }

    int value() const { return value_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    ValueKind valueKind() const { return kind_; }
    QString text() const { return text_; }
    KnobZone hotZone() const { return hotZone_; }
    const KnobZones &zones() const { return zones_; }
    bool isRepeating() const { return repeat_.isRepeating(); }

    // Takes the step a held side has due at the clock's current time, if any.
    void advance();

signals:
    void spinChanged(int controlId, int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setHotZone(KnobZone zone);
    void pressSide(KnobZone zone);
    void pressMiddle();
    void release();
    void stepOnce(int direction); // wheel and keys
    int stepped(int delta) const;
    void scheduleTimer();

    const Clock &clock_;
    ValueKind kind_ = ValueKind::None;
    int minimum_ = 0;
    int maximum_ = 0;
    int value_ = 0;
    QString text_;
    const CSpinBtn *partner_ = nullptr;
    NumericEntry entry_;

    KnobZones zones_;
    KnobZone hotZone_ = KnobZone::None;
    std::array<QImage, 4> zoneImages_; // by hot zone: none, left, middle, right

    bool pressed_ = false;
    KnobRepeat repeat_;
    int acceleration_ = 0;
    QPoint restAnchor_;
    QTimer timer_;
    WheelAccumulator wheel_ { WheelAccumulator::Reversal::StartsOver };
};

} // namespace arx

#include "controls/CSpinBtn.h"

#include "controls/Artwork.h"
#include "controls/CSpindataDlg.h"
#include "controls/ControlId.h"
#include "format/KnobStepping.h"
#include "format/NumericEntry.h"
#include "format/ValueFormat.h"
#include "seams/Clock.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>

#include <algorithm>

namespace arx {

namespace {

constexpr QSize KnobSize(91, 20);
// How far the pointer may wander while it counts as resting on a held side.
constexpr int RestTolerance = 2;

const QColor TextColour(0, 255, 255);
// Disabled knobs show a flat face in the theme's button colour, their value dimmed.
const QColor DisabledFace(38, 40, 45);
const QColor DisabledText(0, 255, 255, 96);

// The face of the devices' panels where it is installed, else the closest one that is:
// listing them all would let the font system substitute for the first, however unlike.
QFont knobFont()
{
    QFont font;
    for (const char *family : { "Arial Unicode MS", "Arial", "Liberation Sans", "Nimbus Sans",
             "DejaVu Sans Condensed" }) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            font.setFamily(QString::fromLatin1(family));
            break;
        }
    }
    font.setPixelSize(13); // a 16-pixel cell: the longest texts still clear the side zones
    return font;
}

} // namespace

CSpinBtn::CSpinBtn(const Clock &clock, QWidget *parent)
    : QWidget(parent)
    , clock_(clock)
    , entry_(&CSpindataDlg::ask)
{
    // Zone 0 and the middle share the plain face; each side has its own lit face.
    zoneImages_ = { bitmapImage(140), bitmapImage(141), bitmapImage(140), bitmapImage(142) };
    setFixedSize(zoneImages_[0].isNull() ? KnobSize : zoneImages_[0].size());
    zones_ = KnobZones::forSize(width(), height());
    static const QFont font = knobFont();
    setFont(font);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &CSpinBtn::advance);
}

void CSpinBtn::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
}

void CSpinBtn::setValue(int value)
{
    value_ = value > maximum_ ? maximum_ : (value < minimum_ ? minimum_ : value);
    text_ = QString::fromStdString(formatValue(kind_, value_));
    update();
}

int CSpinBtn::stepped(int delta) const
{
    KnobLimits limits { minimum_, maximum_, std::nullopt };
    if (partner_)
        limits.partner = partner_->value();
    return steppedValue(kind_, value_, delta, limits);
}

void CSpinBtn::resizeEvent(QResizeEvent *)
{
    zones_ = KnobZones::forSize(width(), height());
}

void CSpinBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QImage &face = zoneImages_[static_cast<int>(hotZone_)];
    if (!isEnabled() || face.isNull())
        painter.fillRect(rect(), DisabledFace);
    else
        painter.drawImage(rect(), face);
    if (text_.isEmpty())
        return;
    painter.setPen(isEnabled() ? TextColour : DisabledText);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text_);
}

void CSpinBtn::setHotZone(KnobZone zone)
{
    if (zone == hotZone_)
        return;
    hotZone_ = zone;
    update();
}

void CSpinBtn::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    const KnobZone zone = zones_.zoneAt(point.x(), point.y());
    // Off the knob while held counts as the middle, so a held side stops stepping there.
    setHotZone(zone != KnobZone::None ? zone : (pressed_ ? KnobZone::Middle : KnobZone::None));
    if (repeat_.isArmed() && !repeat_.isRepeating()
        && (point - restAnchor_).manhattanLength() > RestTolerance) {
        restAnchor_ = point;
        repeat_.pointerMoved(clock_.monotonicMs());
        scheduleTimer();
    }
}

void CSpinBtn::leaveEvent(QEvent *)
{
    setHotZone(pressed_ ? KnobZone::Middle : KnobZone::None);
}

void CSpinBtn::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    const KnobZone zone = zones_.zoneAt(point.x(), point.y());
    setHotZone(zone);
    restAnchor_ = point;
    if (zone == KnobZone::Left || zone == KnobZone::Right)
        pressSide(zone);
    else if (zone == KnobZone::Middle)
        pressMiddle();
}

// A quick second click is another press, so that rapid clicks on a side each step.
void CSpinBtn::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void CSpinBtn::pressSide(KnobZone zone)
{
    setFocus(Qt::MouseFocusReason);
    pressed_ = true;
    acceleration_ = 0;
    const int direction = zone == KnobZone::Left ? -1 : 1;
    const bool atLimit = direction < 0 ? value_ <= minimum_ : value_ >= maximum_;
    if (atLimit || !stepsValue(kind_))
        return;
    const int next = stepped(direction);
    if (next == value_)
        return; // held back by the partner knob
    setValue(next);
    emit spinChanged(controlId(this), value_);
    repeat_.arm(clock_.monotonicMs());
    scheduleTimer();
}

void CSpinBtn::advance()
{
    const bool due = repeat_.takeDueStep(clock_.monotonicMs());
    scheduleTimer();
    if (!due || (hotZone_ != KnobZone::Left && hotZone_ != KnobZone::Right))
        return;
    const int direction = hotZone_ == KnobZone::Left ? -1 : 1;
    if (direction < 0 ? value_ <= minimum_ : value_ >= maximum_)
        return;
    int amount = 1;
    if (acceleratesWhileHeld(kind_))
        amount = ++acceleration_;
    const int next = stepped(direction * amount);
    if (next == value_)
        return;
    setValue(next);
    emit spinChanged(controlId(this), value_);
}

void CSpinBtn::scheduleTimer()
{
    const std::optional<std::int64_t> due = repeat_.nextDueAt();
    if (!due) {
        timer_.stop();
        return;
    }
    const std::int64_t wait = std::max<std::int64_t>(0, *due - clock_.monotonicMs());
    timer_.start(static_cast<int>(std::min<std::int64_t>(wait, KnobRepeat::RestMs)));
}

void CSpinBtn::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    release();
    const QPoint point = event->position().toPoint();
    setHotZone(zones_.zoneAt(point.x(), point.y()));
}

void CSpinBtn::release()
{
    pressed_ = false;
    acceleration_ = 0;
    repeat_.disarm();
    timer_.stop();
}

void CSpinBtn::pressMiddle()
{
    setFocus(Qt::MouseFocusReason);
    pressed_ = true;
    const std::optional<float> shown = entryFromCode(kind_, value_);
    if (shown && entry_) {
        // The entry is modal; the knob may be gone by the time it returns.
        const QPointer<CSpinBtn> self(this);
        const std::optional<float> typed = entry_(this, *shown);
        if (!self)
            return;
        const std::optional<int> code = typed ? codeFromEntry(kind_, *typed) : std::nullopt;
        if (code) {
            setValue(*code);
            emit spinChanged(controlId(this), value_);
        }
    }
    release();
    hotZone_ = KnobZone::None;
    update();
}

void CSpinBtn::stepOnce(int direction)
{
    setValue(stepped(direction));
    emit spinChanged(controlId(this), value_);
}

void CSpinBtn::wheelEvent(QWheelEvent *event)
{
    if (!stepsValue(kind_)) {
        event->ignore();
        return;
    }
    event->accept();
    // The wheel accumulator counts down-turns as +1; the knob steps up for an up-turn.
    const int step = wheel_.add(event->angleDelta().y());
    if (step != 0)
        stepOnce(-step);
}

void CSpinBtn::keyPressEvent(QKeyEvent *event)
{
    int direction = 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        direction = 1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        direction = -1;
        break;
    default:
        break;
    }
    if (direction == 0 || !stepsValue(kind_)) {
        QWidget::keyPressEvent(event);
        return;
    }
    stepOnce(direction);
}

} // namespace arx

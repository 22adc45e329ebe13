#include "mic/CMicDlg.h"

#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace arx {

namespace {

bool isSlot(int slot)
{
    return slot >= 0 && slot < UnitSlotCount;
}

} // namespace

CMicDlg::CMicDlg(Store &store, Link &link, const Clock &clock, Prompts &prompts, QWidget *parent)
    : QWidget(parent)
    , clock_(clock)
    , bar_(new QScrollBar(Qt::Vertical, this))
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    // A dark bar, so that the black page does not carry a light stripe.
    bar_->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: #0b0f14; width: 14px; margin: 0; }"
        "QScrollBar::handle:vertical { background: #2c3644; min-height: 24px;"
        " border-radius: 4px; margin: 2px; }"
        "QScrollBar::handle:vertical:hover { background: #3d4b5e; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    bar_->setSingleStep(1);
    bar_->setTracking(true);
    bar_->setRange(1, 1);
    bar_->setValue(1);
    connect(bar_, &QScrollBar::valueChanged, this, &CMicDlg::scrollContentsTo);

    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        auto *strip = new CInputDlg(store, link, clock, prompts, this);
        strip->setSlotIndex(slot + 1);
        for (QWidget *selector : strip->wheelSelectors())
            selector->installEventFilter(this);
        strips_[static_cast<std::size_t>(slot)] = strip;
    }
    bar_->raise();
    ready_ = true;
}

void CMicDlg::setEqualiserOpener(const EqualiserOpener &opener)
{
    for (CInputDlg *strip : strips_)
        strip->setEqualiserOpener(opener);
}

void CMicDlg::ShowStrip(int slot)
{
    if (!isSlot(slot))
        return;
    CInputDlg *shown = strip(slot);
    if (shown->isStripShown()) {
        shown->RebuildCopyList();
    } else {
        shown->setSlotIndex(slot + 1);
        // Where the slot lies in the column as it is scrolled now, so that a strip shown
        // while the page is scrolled never lands on another.
        shown->setGeometry(stripGeometry(slot).translated(0, -(scrollPos_ - 1)));
        shown->InitStrip();
    }
    if (shown->isStripShown()) {
        shown->RefreshFromRecord();
        shown->UpdateMeter();
    }
}

void CMicDlg::hideStrip(int slot)
{
    if (isSlot(slot))
        strip(slot)->closeStrip();
}

void CMicDlg::refreshStrip(int slot)
{
    if (isStripShown(slot))
        strip(slot)->RefreshFromRecord();
}

void CMicDlg::updateMeter(int slot)
{
    if (isStripShown(slot))
        strip(slot)->UpdateMeter();
}

bool CMicDlg::isStripShown(int slot) const
{
    return isSlot(slot) && strip(slot)->isStripShown();
}

std::vector<int> CMicDlg::shownStrips() const
{
    std::vector<int> shown;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (isStripShown(slot))
            shown.push_back(slot);
    }
    return shown;
}

CInputDlg *CMicDlg::strip(int slot) const
{
    return isSlot(slot) ? strips_[static_cast<std::size_t>(slot)] : nullptr;
}

QRect CMicDlg::stripGeometry(int slot) const
{
    return { StripLeft, StripPitch * slot + StripTop, clientWidth() - 2 * StripLeft,
        CInputDlg::StripHeight };
}

int CMicDlg::clientWidth() const
{
    return width() - bar_->width();
}

void CMicDlg::resizeEvent(QResizeEvent *event)
{
    const int barWidth = bar_->sizeHint().width();
    bar_->setGeometry(width() - barWidth, 0, barWidth, height());

    // The bar starts over at the top, but the contents stay where they are: the next
    // scroll moves them by the difference from where they were last scrolled to.
    const int clientHeight = std::max(height(), 1);
    const QSignalBlocker quiet(bar_);
    bar_->setPageStep(clientHeight);
    bar_->setRange(1, clientHeight * pageCount - clientHeight + 1);
    bar_->setValue(1);
    QWidget::resizeEvent(event);
}

void CMicDlg::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (gesture_.route(clock_.monotonicMs(), false) == WheelGesture::Target::Page)
        scrollByWheel(event);
}

bool CMicDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel || !ready_)
        return QWidget::eventFilter(watched, event);
    // A selector steps only for a gesture that started over it; otherwise the page scrolls.
    if (gesture_.route(clock_.monotonicMs(), true) == WheelGesture::Target::Selector)
        return false;
    auto *wheel = static_cast<QWheelEvent *>(event);
    wheel->accept();
    scrollByWheel(wheel);
    return true;
}

void CMicDlg::scrollByWheel(QWheelEvent *event)
{
    const int step = wheel_.add(event->angleDelta().y());
    if (step != 0)
        bar_->setValue(bar_->value() + step * StripPitch);
}

void CMicDlg::scrollContentsTo(int position)
{
    const int distance = scrollPos_ - position;
    if (distance == 0)
        return;
    for (CInputDlg *shown : strips_)
        shown->move(shown->pos() + QPoint(0, distance));
    scrollPos_ = position;
}

} // namespace arx

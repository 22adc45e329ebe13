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
    , store_(store)
    , link_(link)
    , clock_(clock)
    , prompts_(prompts)
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

    bar_->raise();
    // Strips are made while units register; their fonts are ready before.
    CInputDlg::prepareFonts();
    ready_ = true;
}

void CMicDlg::setEqualiserOpener(const EqualiserOpener &opener)
{
    equaliserOpener_ = opener;
    for (CInputDlg *made : strips_) {
        if (made)
            made->setEqualiserOpener(opener);
    }
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
    if (CInputDlg *made = madeStrip(slot))
        made->closeStrip();
}

void CMicDlg::refreshStrip(int slot)
{
    if (isStripShown(slot))
        madeStrip(slot)->RefreshFromRecord();
}

void CMicDlg::updateMeter(int slot)
{
    if (isStripShown(slot))
        madeStrip(slot)->UpdateMeter();
}

bool CMicDlg::isStripShown(int slot) const
{
    const CInputDlg *made = madeStrip(slot);
    return made && made->isStripShown();
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

CInputDlg *CMicDlg::strip(int slot)
{
    if (!isSlot(slot))
        return nullptr;
    CInputDlg *&made = strips_[static_cast<std::size_t>(slot)];
    if (!made) {
        made = new CInputDlg(store_, link_, clock_, prompts_, this);
        made->setSlotIndex(slot + 1);
        made->setEqualiserOpener(equaliserOpener_);
        for (QWidget *selector : made->wheelSelectors())
            selector->installEventFilter(this);
        made->stackUnder(bar_);
    }
    return made;
}

CInputDlg *CMicDlg::madeStrip(int slot) const
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

bool CMicDlg::event(QEvent *event)
{
    // A modal dialog's opening and closing are passed down to every control of every strip,
    // which with 64 strips takes milliseconds each way; a page not shown has no use for them.
    const bool blocking
        = event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked;
    if (blocking && !isVisible())
        return true;
    return QWidget::event(event);
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
    for (CInputDlg *made : strips_) {
        if (made)
            made->move(made->pos() + QPoint(0, distance));
    }
    scrollPos_ = position;
}

} // namespace arx

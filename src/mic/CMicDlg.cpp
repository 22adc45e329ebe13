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

CMicDlg::CMicDlg(QWidget *parent)
    : QWidget(parent)
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
}

void CMicDlg::ShowStrip(int slot)
{
    if (!isSlot(slot))
        return;
    shown_[static_cast<std::size_t>(slot)] = true;
    refreshStrip(slot);
    updateMeter(slot);
}

void CMicDlg::hideStrip(int slot)
{
    if (!isSlot(slot))
        return;
    shown_[static_cast<std::size_t>(slot)] = false;
    update();
}

void CMicDlg::refreshStrip(int slot)
{
    if (isStripShown(slot))
        update();
}

void CMicDlg::updateMeter(int slot)
{
    if (isStripShown(slot))
        update();
}

bool CMicDlg::isStripShown(int slot) const
{
    return isSlot(slot) && shown_[static_cast<std::size_t>(slot)];
}

std::vector<int> CMicDlg::shownStrips() const
{
    std::vector<int> shown;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (shown_[static_cast<std::size_t>(slot)])
            shown.push_back(slot);
    }
    return shown;
}

QRect CMicDlg::stripGeometry(int slot) const
{
    return { StripLeft, StripPitch * slot + StripTop, clientWidth() - 2 * StripLeft, StripPitch };
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
    // One notch moves one strip; partial notches of smooth wheels add up.
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRemainder_ %= QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0)
        bar_->setValue(bar_->value() - notches * StripPitch);
    event->accept();
}

void CMicDlg::scrollContentsTo(int position)
{
    const int distance = scrollPos_ - position;
    if (distance == 0)
        return;
    const auto children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child != bar_)
            child->move(child->pos() + QPoint(0, distance));
    }
    scrollPos_ = position;
}

} // namespace arx

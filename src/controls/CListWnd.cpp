#include "controls/CListWnd.h"

#include "controls/CDropList.h"

#include <QMouseEvent>

namespace arx {

namespace {
constexpr int CreatedEntryHeight = 40;
}

CListWnd::CListWnd(QWidget *owner)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint)
    , owner_(owner)
    , list_(new CDropList(this))
{
    list_->setEntryHeight(CreatedEntryHeight);
    setFocusProxy(list_);
    connect(list_, &CDropList::picked, this, &CListWnd::onPicked);
    connect(list_, &CDropList::abandoned, this, &QWidget::hide);
}

void CListWnd::resizeEvent(QResizeEvent *)
{
    list_->setGeometry(rect());
}

void CListWnd::showEvent(QShowEvent *)
{
    chosen_ = false;
    list_->setFocus(Qt::PopupFocusReason);
}

void CListWnd::hideEvent(QHideEvent *)
{
    // Hover moved the selection; a pop-up closed without a choice puts it back.
    if (!chosen_)
        list_->setCurrentSelection(list_->previousSelection());
}

void CListWnd::mousePressEvent(QMouseEvent *event)
{
    // A press outside the pop-up closes it. A press on the owner must not reach the owner
    // afterwards, or the owner would open the list again at once.
    const QPoint global = event->globalPosition().toPoint();
    if (!rect().contains(event->position().toPoint())) {
        const bool onOwner = owner_ && owner_->rect().contains(owner_->mapFromGlobal(global));
        setAttribute(Qt::WA_NoMouseReplay, onOwner);
        hide();
    }
}

void CListWnd::onPicked(int index, QPoint globalPosition, bool byKeyboard)
{
    const bool inside = byKeyboard || frameGeometry().contains(globalPosition);
    chosen_ = inside && index >= 0;
    hide();
    if (chosen_)
        emit dropListSelect(CDropList::ListControlId, index);
}

} // namespace arx

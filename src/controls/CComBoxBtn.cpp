#include "controls/CComBoxBtn.h"

#include "controls/Artwork.h"
#include "controls/CDropList.h"
#include "controls/CListWnd.h"
#include "controls/ControlFonts.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>

namespace arx {

namespace {
constexpr int SelectorFontCell = 14;
constexpr int TextLeftInset = 5;
constexpr int TextRightInset = 20; // the arrow's place
} // namespace

CComBoxBtn::CComBoxBtn(QWidget *parent)
    : QWidget(parent)
    , listWindow_(new CListWnd(this))
{
    fonts_[0] = arialCellFont(SelectorFontCell);
    fonts_[1] = arialCellFont(SelectorFontCell);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::PointingHandCursor);
    connect(listWindow_, &CListWnd::dropListSelect, this,
        [this](int, int index) { onListChoice(index); });
}

void CComBoxBtn::setBitmaps(int normalId, int activeId)
{
    normalBitmapId_ = normalId;
    activeBitmapId_ = activeId;
    normalBitmap_ = bitmapImage(normalId);
    activeBitmap_ = bitmapImage(activeId);
    if (!normalBitmap_.isNull())
        resize(normalBitmap_.size());
    update();
}

bool CComBoxBtn::attachList(int listId)
{
    listId_ = listId;
    listWindow_->resize(width(), listWindow_->height());
    if (!dropList()->hasEntryFont())
        dropList()->setEntryFont(fonts_[0]);
    return true;
}

CDropList *CComBoxBtn::dropList() const
{
    return listWindow_->list();
}

void CComBoxBtn::select(int index)
{
    const int clamped = clampSelection(index, dropList()->entryCount());
    if (clamped < 0)
        return;
    const QString entry = dropList()->entryText(clamped);
    if (clamped == dropList()->currentSelection() && clamped == dropList()->previousSelection()
        && entry == text_)
        return;
    dropList()->setCurrentSelection(clamped);
    dropList()->setPreviousSelection(clamped);
    text_ = entry;
    update();
}

int CComBoxBtn::currentIndex() const
{
    return dropList()->currentSelection();
}

bool CComBoxBtn::isListShown() const
{
    return listWindow_->isVisible();
}

void CComBoxBtn::setFonts(const QFont &normal, const QFont &active)
{
    fonts_[0] = normal;
    fonts_[1] = active;
    update();
}

void CComBoxBtn::setTextColours(const QColor &normal, const QColor &active)
{
    textColours_[0] = normal;
    textColours_[1] = active;
    update();
}

QSize CComBoxBtn::sizeHint() const
{
    return normalBitmap_.isNull() ? QSize(91, 20) : normalBitmap_.size();
}

QRect CComBoxBtn::dropListGeometry() const
{
    const QPoint corner = mapToGlobal(QPoint(0, height() - 1));
    const int listHeight
        = dropListHeight(dropList()->entryCount(), dropList()->entryHeight(), MaximumListHeight);
    return { corner, QSize(width(), listHeight) };
}

void CComBoxBtn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (normalBitmapId_ == 0 && activeBitmapId_ == 0) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
    } else {
        const QImage &bitmap = activeLook_ ? activeBitmap_ : normalBitmap_;
        if (!bitmap.isNull())
            painter.drawImage(rect(), bitmap);
    }
    if (text_.isEmpty())
        return;
    const int look = activeLook_ ? 1 : 0;
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(fonts_[look]);
    painter.setPen(textColours_[look]);
    painter.drawText(rect().adjusted(TextLeftInset, 0, -TextRightInset, 0),
        Qt::AlignCenter | Qt::TextSingleLine, text_);
}

void CComBoxBtn::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    activeLook_ = false;
    if (isListShown()) {
        if (!listWindow_->geometry().contains(event->globalPosition().toPoint()))
            listWindow_->hide();
    } else {
        openList();
    }
    update();
}

void CComBoxBtn::openList()
{
    QRect geometry = dropListGeometry();
    // A list that would leave the screen at the bottom opens above the button instead.
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        if (geometry.bottom() > available.bottom()) {
            const int above = mapToGlobal(QPoint(0, 0)).y() + 1 - geometry.height();
            if (above >= available.top())
                geometry.moveTop(above);
        }
    }
    listWindow_->setGeometry(geometry);
    listWindow_->show();
}

void CComBoxBtn::onListChoice(int index)
{
    showEntry(index);
    setFocus(Qt::OtherFocusReason);
    repaint();
    dropList()->setPreviousSelection(index);
    emit dropListSelect(listId_, index);
}

void CComBoxBtn::showEntry(int index)
{
    text_ = dropList()->entryText(index);
    activeLook_ = true;
    update();
}

void CComBoxBtn::wheelEvent(QWheelEvent *event)
{
    event->accept();
    const int step = wheel_.add(event->angleDelta().y());
    const int count = dropList()->entryCount();
    if (step == 0 || count == 0)
        return;
    const int index = clampSelection(currentIndex() + step, count);
    dropList()->setCurrentSelection(index);
    dropList()->setPreviousSelection(index);
    showEntry(index);
    emit dropListSelect(listId_, index);
}

void CComBoxBtn::focusInEvent(QFocusEvent *event)
{
    if (isListShown())
        listWindow_->setFocus(Qt::OtherFocusReason);
    QWidget::focusInEvent(event);
}

void CComBoxBtn::focusOutEvent(QFocusEvent *event)
{
    activeLook_ = false;
    update();
    QWidget::focusOutEvent(event);
}

} // namespace arx

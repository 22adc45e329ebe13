#include "controls/CDropList.h"

#include "controls/ControlId.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace arx {

const QColor CDropList::Background = QColor(27, 34, 50);
const QColor CDropList::Selection = QColor(13, 133, 138);

namespace {

constexpr int SelectedTextColourRole = Qt::UserRole + 1;
constexpr int TextLeft = 4;
constexpr int TextRightInset = 5;

class EntryDelegate : public QStyledItemDelegate {
public:
    explicit EntryDelegate(CDropList *list)
        : QStyledItemDelegate(list)
        , list_(list)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? CDropList::Selection : CDropList::Background);
        const QColor colour
            = index.data(selected ? SelectedTextColourRole : Qt::ForegroundRole).value<QColor>();
        const QRect text(option.rect.left() + TextLeft, option.rect.top(),
            option.rect.width() - TextLeft - TextRightInset, option.rect.height());
        painter->save();
        painter->setRenderHint(QPainter::TextAntialiasing);
        painter->setFont(list_->entryFont());
        painter->setPen(colour);
        const QString shown = painter->fontMetrics().elidedText(
            index.data(Qt::DisplayRole).toString(), Qt::ElideRight, text.width());
        painter->drawText(text, Qt::AlignCenter | Qt::TextSingleLine, shown);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return { option.rect.width(), list_->entryHeight() };
    }

private:
    CDropList *list_;
};

} // namespace

CDropList::CDropList(QWidget *parent)
    : QListWidget(parent)
{
    setControlId(this, ListControlId);
    setItemDelegate(new EntryDelegate(this));
    setUniformItemSizes(true);
    setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Background);
    colours.setColor(QPalette::Window, Background);
    setPalette(colours);
}

void CDropList::addEntry(
    const QString &text, const QColor &textColour, const QColor &selectedTextColour)
{
    auto *entry = new QListWidgetItem(text, this);
    entry->setData(Qt::ForegroundRole, textColour);
    entry->setData(SelectedTextColourRole, selectedTextColour);
}

void CDropList::clearEntries()
{
    clear();
}

QString CDropList::entryText(int index) const
{
    const QListWidgetItem *entry = item(index);
    return entry ? entry->text() : QString();
}

void CDropList::setEntryFont(const QFont &font)
{
    setFont(font);
    hasEntryFont_ = true;
    setEntryHeight(FontEntryHeight);
}

void CDropList::setEntryHeight(int height)
{
    entryHeight_ = height;
    doItemsLayout();
}

void CDropList::setCurrentSelection(int index)
{
    setCurrentRow(index);
}

void CDropList::selectEntryAt(const QPoint &position)
{
    const QModelIndex under = indexAt(position);
    if (under.isValid() && under.row() != currentRow())
        setCurrentRow(under.row());
}

void CDropList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    selectEntryAt(event->position().toPoint());
}

void CDropList::mouseMoveEvent(QMouseEvent *event)
{
    selectEntryAt(event->position().toPoint());
}

void CDropList::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    emit picked(currentRow(), event->globalPosition().toPoint(), false);
}

void CDropList::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void CDropList::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit picked(currentRow(), QPoint(), true);
        return;
    case Qt::Key_Escape:
        emit abandoned();
        return;
    default:
        QListWidget::keyPressEvent(event);
    }
}

} // namespace arx

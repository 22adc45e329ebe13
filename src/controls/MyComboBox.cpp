#include "controls/MyComboBox.h"

#include "controls/ControlLook.h"
#include "model/RingColours.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace arx {

namespace {

using look::FieldBottom;
using look::Muted;

class SwatchDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(
            option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->fillRect(
            MyComboBox::swatchRect(option.rect), index.data(Qt::UserRole).value<QColor>());
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return { option.rect.width(), MyComboBox::ItemHeight };
    }
};

} // namespace

MyComboBox::MyComboBox(QWidget *parent)
    : QComboBox(parent)
{
    for (const IndexedColour &colour : colourIndexTable)
        addItem(QString(), QColor(colour.red, colour.green, colour.blue));
    setCurrentIndex(0);
    setCursor(Qt::PointingHandCursor);
}

void MyComboBox::showPopup()
{
    // The pop-up's view is made when first needed: a page of strips holds many boxes that
    // are never opened, and the view is most of a box's cost.
    if (!viewPrepared_) {
        viewPrepared_ = true;
        setItemDelegate(new SwatchDelegate(this));
        QPalette dark = view()->palette();
        dark.setColor(QPalette::Base, FieldBottom);
        dark.setColor(QPalette::Highlight, QColor(0x0d, 0x5e, 0x66));
        dark.setColor(QPalette::Text, look::Text);
        view()->setPalette(dark);
    }
    QComboBox::showPopup();
}

QRect MyComboBox::swatchRect(const QRect &item)
{
    const int right = item.width() % 2 != 0 ? item.right() - 1 : item.right();
    return QRect(QPoint(item.left() + 2, item.top() + 2), QPoint(right, item.bottom() - 2));
}

void MyComboBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    look::paintSwatchField(painter, rect(), hasFocus(), currentData(Qt::UserRole).value<QColor>());

    const qreal split = width() - 14;
    const QPointF centre(split + 6.5, height() / 2.0 + 1);
    const QPointF chevron[]
        = { centre + QPointF(-3, -2), centre + QPointF(0, 1), centre + QPointF(3, -2) };
    painter.setPen(QPen(Muted, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(chevron, 3);
}

} // namespace arx

#include "controls/MyComboBox.h"

#include "model/RingColours.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace arx {

namespace {

const QColor FieldTop(0x24, 0x2d, 0x3d);
const QColor FieldBottom(0x17, 0x1d, 0x29);
const QColor Border(0x3b, 0x47, 0x5b);
const QColor Accent(0x19, 0xc6, 0xcc);
const QColor Muted(0x8a, 0x97, 0xab);

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
    setItemDelegate(new SwatchDelegate(this));
    for (const IndexedColour &colour : colourIndexTable)
        addItem(QString(), QColor(colour.red, colour.green, colour.blue));
    setCurrentIndex(0);
    setCursor(Qt::PointingHandCursor);

    QPalette dark = view()->palette();
    dark.setColor(QPalette::Base, QColor(0x17, 0x1d, 0x29));
    dark.setColor(QPalette::Highlight, QColor(0x0d, 0x5e, 0x66));
    dark.setColor(QPalette::Text, QColor(0xe6, 0xea, 0xf0));
    view()->setPalette(dark);
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
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient face(area.topLeft(), area.bottomLeft());
    face.setColorAt(0, FieldTop);
    face.setColorAt(1, FieldBottom);
    painter.setBrush(face);
    painter.setPen(QPen(hasFocus() ? Accent : Border, 1));
    painter.drawRoundedRect(area, 3, 3);

    const qreal split = width() - 14;
    painter.setBrush(currentData(Qt::UserRole).value<QColor>());
    painter.setPen(QPen(QColor(0, 0, 0, 140), 1));
    painter.drawRoundedRect(QRectF(3.5, 3.5, split - 6, height() - 7), 2, 2);

    const QPointF centre(split + 6.5, height() / 2.0 + 1);
    const QPointF chevron[]
        = { centre + QPointF(-3, -2), centre + QPointF(0, 1), centre + QPointF(3, -2) };
    painter.setPen(QPen(Muted, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(chevron, 3);
}

} // namespace arx

#include "controls/CListCtrlCl.h"

#include "controls/CHeaderCtrlCl.h"
#include "controls/ControlFonts.h"
#include "controls/ControlId.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace arx {

namespace {

constexpr int MaximumCellText = 255;
// Kept on a row's first cell.
constexpr int MarkedRole = Qt::UserRole + 1;
const QColor MarkedBackground(0xF4, 0xD6, 0xD2);
const QColor MarkedText(0x9A, 0x1C, 0x12);

// Paints every cell of a CListCtrlCl: its background (the highlight when the row is
// selected), then its text in the list's colour, font and column alignment.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(CListCtrlCl *list)
        : QStyledItemDelegate(list)
        , list_(list)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const bool marked = list_->isRowMarked(index.row());
        const QPalette &palette = list_->palette();
        painter->fillRect(option.rect,
            selected     ? palette.color(QPalette::Highlight)
                : marked ? MarkedBackground
                         : palette.color(QPalette::Base));
        const QString text = index.data(Qt::DisplayRole).toString().left(MaximumCellText);
        painter->save();
        painter->setRenderHint(QPainter::TextAntialiasing);
        painter->setFont(list_->cellFont());
        painter->setPen(marked ? MarkedText : list_->textColour());
        const Qt::Alignment alignment = columnAlignment(list_->alignmentString(), index.column());
        painter->drawText(option.rect, alignment | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
    }

private:
    CListCtrlCl *list_;
};

// The light grid of a report list, instead of the style's dark table grid.
class ListStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
        QStyleHintReturn *returned) const override
    {
        if (hint == SH_Table_GridLineColor)
            return static_cast<int>(QColor(208, 208, 208).rgba());
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

CListCtrlCl::CListCtrlCl(QWidget *parent)
    : QTableWidget(parent)
    , header_(new CHeaderCtrlCl(this))
{
    auto *style = new ListStyle;
    style->setParent(this);
    setStyle(style);
    setHorizontalHeader(header_);
    verticalHeader()->hide();
    systemRowHeight_ = verticalHeader()->defaultSectionSize();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setItemDelegate(new RowDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    connect(this, &QTableWidget::cellDoubleClicked, this,
        [this](int row, int) { emit rowDoubleClicked(controlId(this), row); });
}

void CListCtrlCl::setAlignmentString(const QString &alignments)
{
    alignments_ = alignments;
    header_->setAlignmentString(alignments);
    viewport()->update();
}

void CListCtrlCl::setRowHeight(int height)
{
    rowHeight_ = height;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height > 0 ? height : systemRowHeight_);
    for (int row = 0; row < rowCount(); ++row)
        QTableWidget::setRowHeight(row, verticalHeader()->defaultSectionSize());
}

void CListCtrlCl::setTextColour(const QColor &colour)
{
    textColour_ = colour;
    viewport()->update();
}

void CListCtrlCl::setFontSize(int height, int width)
{
    fontHeight_ = height;
    fontWidth_ = width;
    viewport()->update();
}

QFont CListCtrlCl::cellFont() const
{
    return simSunCellFont(fontHeight_, fontWidth_);
}

void CListCtrlCl::setBackgroundColour(const QColor &colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colour);
    setPalette(colours);
}

int CListCtrlCl::insertColumn(int column, const QString &caption, int width)
{
    column = std::clamp(column, 0, columnCount());
    QTableWidget::insertColumn(column);
    setHorizontalHeaderItem(column, new QTableWidgetItem(caption));
    header_->resizeSection(column, width);
    syncHeaderTexts();
    return column;
}

int CListCtrlCl::insertItem(int row, const QString &text)
{
    row = std::clamp(row, 0, rowCount());
    insertRow(row);
    setItemText(row, 0, text);
    return row;
}

void CListCtrlCl::setItemText(int row, int column, const QString &text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    if (QTableWidgetItem *existing = item(row, column))
        existing->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
}

QString CListCtrlCl::itemText(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}

void CListCtrlCl::deleteAllItems()
{
    setRowCount(0);
}

int CListCtrlCl::selectedRow() const
{
    const auto rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CListCtrlCl::setRowMarked(int row, bool marked)
{
    if (row < 0 || row >= rowCount() || isRowMarked(row) == marked)
        return;
    if (!item(row, 0))
        setItem(row, 0, new QTableWidgetItem);
    item(row, 0)->setData(MarkedRole, marked);
    viewport()->update(); // every cell of the row takes the mark's colours
}

bool CListCtrlCl::isRowMarked(int row) const
{
    const QTableWidgetItem *first = item(row, 0);
    return first && first->data(MarkedRole).toBool();
}

void CListCtrlCl::syncHeaderTexts()
{
    QStringList texts;
    for (int column = 0; column < columnCount(); ++column) {
        const QTableWidgetItem *caption = horizontalHeaderItem(column);
        texts << (caption ? caption->text() : QString());
    }
    header_->setItemTexts(texts);
}

} // namespace arx

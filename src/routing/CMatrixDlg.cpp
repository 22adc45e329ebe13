#include "routing/CMatrixDlg.h"

#include "controls/CStaticST.h"
#include "controls/ControlId.h"
#include "routing/CrossPointGrid.h"
#include "routing/MatrixGeometry.h"

#include <QScrollBar>

namespace arx {

namespace {

constexpr int LabelTextPoints = 8;
// Right-to-left, vertical, no fit black box.
constexpr int ColumnLabelFlags
    = CStaticST::RightToLeft | CStaticST::Vertical | CStaticST::NoFitBlackBox;

void makeBlack(QWidget *widget)
{
    QPalette black = widget->palette();
    black.setColor(QPalette::Window, Qt::black);
    widget->setPalette(black);
    widget->setAutoFillBackground(true);
}

// A dark bar, so that the black page carries no light stripe.
void styleBar(QScrollBar *bar)
{
    bar->setStyleSheet(QStringLiteral(
        "QScrollBar { background: #0b0f14; margin: 0; }"
        "QScrollBar:vertical { width: 14px; } QScrollBar:horizontal { height: 14px; }"
        "QScrollBar::handle { background: #2c3644; border-radius: 4px; margin: 2px; }"
        "QScrollBar::handle:vertical { min-height: 24px; }"
        "QScrollBar::handle:horizontal { min-width: 24px; }"
        "QScrollBar::handle:hover { background: #3d4b5e; }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }"));
    bar->setSingleStep(1);
    bar->setTracking(true);
    bar->setRange(1, 1);
    bar->setValue(1);
}

void setRange(QScrollBar *bar, int clientExtent)
{
    const matrix::BarRange range = matrix::barRange(clientExtent);
    const QSignalBlocker quiet(bar);
    bar->setPageStep(range.page);
    bar->setRange(range.minimum, range.last);
    bar->setValue(matrix::UnscrolledPosition);
}

void placeLabel(CStaticST *label, const matrix::Rect &rect)
{
    label->setGeometry(rect.x, rect.y, rect.width, rect.height);
}

} // namespace

CMatrixDlg::CMatrixDlg(QWidget *parent)
    : QWidget(parent)
    , contents_(new QWidget(this))
    , grid_(new CrossPointGrid(contents_))
    , vertical_(new QScrollBar(Qt::Vertical, this))
    , horizontal_(new QScrollBar(Qt::Horizontal, this))
{
    makeBlack(this);
    makeBlack(contents_);
    styleBar(vertical_);
    styleBar(horizontal_);
    createLabels();
    connect(vertical_, &QScrollBar::valueChanged, this, &CMatrixDlg::scrollVerticallyTo);
    connect(horizontal_, &QScrollBar::valueChanged, this, &CMatrixDlg::scrollHorizontallyTo);
}

void CMatrixDlg::createLabels()
{
    for (int row = 0; row < matrix::RowCount; ++row) {
        auto *label = new CStaticST(contents_);
        setControlId(label, matrix::FirstRowLabelId + row);
        label->setTextSize(LabelTextPoints);
        label->setAlignment(CStaticST::Far);
        label->setText(QStringLiteral("Name %1").arg(row + 1));
        placeLabel(label, matrix::rowLabelRect(row));
    }
    for (int column = 0; column < matrix::ColumnCount; ++column) {
        auto *label = new CStaticST(contents_);
        setControlId(label, matrix::FirstColumnLabelId + column);
        label->setTextSize(LabelTextPoints);
        label->setAlignment(CStaticST::Far);
        label->setFormatFlags(ColumnLabelFlags);
        label->setText(QStringLiteral("Name %1").arg(column + 1));
        placeLabel(label, matrix::columnLabelRect(column));
    }
}

QSize CMatrixDlg::clientSize() const
{
    return { std::max(width() - vertical_->sizeHint().width(), 1),
        std::max(height() - horizontal_->sizeHint().height(), 1) };
}

void CMatrixDlg::resizeEvent(QResizeEvent *event)
{
    const QSize client = clientSize();
    vertical_->setGeometry(client.width(), 0, width() - client.width(), client.height());
    horizontal_->setGeometry(0, client.height(), client.width(), height() - client.height());
    contents_->setGeometry(0, 0, client.width(), client.height());

    // Back to the unscrolled place: position 1 is "unscrolled", so the contents move back by
    // the stored position less one and the stored position becomes 1 again.
    moveContents(matrix::contentOffset(horizontalPos_), matrix::contentOffset(verticalPos_));
    horizontalPos_ = matrix::UnscrolledPosition;
    verticalPos_ = matrix::UnscrolledPosition;
    setRange(horizontal_, client.width());
    setRange(vertical_, client.height());
    QWidget::resizeEvent(event);
}

void CMatrixDlg::moveContents(int dx, int dy)
{
    // Child by child rather than QWidget::scroll, which does nothing while the page is
    // hidden and would leave the stored positions out of step with the contents.
    if (dx == 0 && dy == 0)
        return;
    const auto children = contents_->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children)
        child->move(child->pos() + QPoint(dx, dy));
}

void CMatrixDlg::scrollVerticallyTo(int position)
{
    moveContents(0, verticalPos_ - position);
    verticalPos_ = position;
}

void CMatrixDlg::scrollHorizontallyTo(int position)
{
    moveContents(horizontalPos_ - position, 0);
    horizontalPos_ = position;
}

} // namespace arx

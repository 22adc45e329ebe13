#include "routing/CrossPointGrid.h"

#include "controls/Artwork.h"
#include "routing/MatrixGeometry.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace arx {

namespace {

// The ticked box (371) belongs to a state a cross-point never reaches.
constexpr int EmptyBoxImage = 370;

QRect toQRect(const matrix::Rect &rect)
{
    return { rect.x, rect.y, rect.width, rect.height };
}

// The grid's own origin in page coordinates: its widget starts at the first box.
constexpr QPoint Origin { matrix::GridLeft, matrix::GridTop };

} // namespace

CrossPointGrid::CrossPointGrid(QWidget *parent)
    : QWidget(parent)
    , emptyBox_(pngImage(EmptyBoxImage))
{
    setGeometry(matrix::GridLeft, matrix::GridTop, matrix::GridRight - matrix::GridLeft,
        matrix::GridBottom - matrix::GridTop);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect CrossPointGrid::boxRect(int id) const
{
    const std::optional<matrix::Cell> cell = matrix::cellOfId(id);
    if (!cell)
        return {};
    return toQRect(matrix::crossPointRect(cell->row, cell->column)).translated(-Origin);
}

int CrossPointGrid::idAt(QPoint point) const
{
    const QPoint page = point + Origin;
    const std::optional<matrix::Cell> cell = matrix::cellAt(page.x(), page.y());
    return cell ? matrix::crossPointId(cell->row, cell->column) : 0;
}

int CrossPointGrid::shownImage(int id) const
{
    return matrix::cellOfId(id) ? 1 : 0;
}

void CrossPointGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, Qt::black);
    if (emptyBox_.isNull())
        return;
    // Only the boxes the exposed area touches: a page of the grid is a few hundred boxes.
    const int firstColumn = std::max(0, exposed.left() / matrix::Pitch);
    const int lastColumn = std::min(matrix::ColumnCount - 1, exposed.right() / matrix::Pitch);
    const int firstRow = std::max(0, exposed.top() / matrix::Pitch);
    const int lastRow = std::min(matrix::RowCount - 1, exposed.bottom() / matrix::Pitch);
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column)
            painter.drawImage(boxRect(matrix::crossPointId(row, column)), emptyBox_);
    }
}

void CrossPointGrid::mousePressEvent(QMouseEvent *event)
{
    pressedId_ = event->button() == Qt::LeftButton ? idAt(event->position().toPoint()) : 0;
    event->accept();
}

void CrossPointGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const int released = event->button() == Qt::LeftButton ? idAt(event->position().toPoint()) : 0;
    const int pressed = std::exchange(pressedId_, 0);
    if (released != 0 && released == pressed)
        emit commanded(released);
    event->accept();
}

QRect CrossPoint::geometry() const
{
    return grid->boxRect(id).translated(grid->pos());
}

QPoint CrossPoint::centre() const
{
    return grid->boxRect(id).center();
}

std::optional<CrossPoint> findCrossPoint(const QWidget *root, int id)
{
    if (!matrix::cellOfId(id))
        return std::nullopt;
    CrossPointGrid *grid = root->findChild<CrossPointGrid *>();
    if (!grid)
        return std::nullopt;
    return CrossPoint { .grid = grid, .id = id };
}

} // namespace arx

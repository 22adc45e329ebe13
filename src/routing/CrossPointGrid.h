#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <optional>

namespace arx {

// The 6144 cross-points of the routing page drawn by one widget instead of one window each.
// It covers the grid from its first box to its last; every box keeps its id and its
// rectangle (see findCrossPoint). The boxes are a display only: they hold no state, show
// the empty box, and a click on one only reports its id.
class CrossPointGrid final : public QWidget {
    Q_OBJECT
public:
    explicit CrossPointGrid(QWidget *parent = nullptr);

    // The box of a cross-point in this widget's coordinates; empty for an unknown id.
    QRect boxRect(int id) const;
    // The cross-point under a point of this widget, or 0 between boxes.
    int idAt(QPoint point) const;

    // 1: the empty box every cross-point shows (the ticked box is the second image).
    int shownImage(int id) const;

signals:
    // A press and release on the same box, like a button's command.
    void commanded(int controlId);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage emptyBox_;
    int pressedId_ = 0;
};

// One cross-point as tests and callers address it, the way findControl finds a control.
struct CrossPoint {
    CrossPointGrid *grid = nullptr;
    int id = 0;
    // In the coordinates of the grid's parent, like a child window's geometry.
    QRect geometry() const;
    // The middle of the box in the grid's coordinates, where a click lands on it.
    QPoint centre() const;
};

// The cross-point with this id among the descendants of `root`, or nothing.
std::optional<CrossPoint> findCrossPoint(const QWidget *root, int id);

} // namespace arx

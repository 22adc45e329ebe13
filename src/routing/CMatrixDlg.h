#pragma once

#include <QWidget>

class QScrollBar;

namespace arx {

class CrossPointGrid;

// The routing page: a black page with the 96 x 64 cross-point grid, a label beside every
// row and above every column, scrolling both ways over three client extents. The grid is a
// display only: no state, nothing sent.
class CMatrixDlg final : public QWidget {
    Q_OBJECT
public:
    explicit CMatrixDlg(QWidget *parent = nullptr);

    QScrollBar *verticalScrollBar() const { return vertical_; }
    QScrollBar *horizontalScrollBar() const { return horizontal_; }
    CrossPointGrid *grid() const { return grid_; }
    // The client area the grid scrolls in: the page less its two bars.
    QSize clientSize() const;

    // The positions the contents were last scrolled to; 1 while unscrolled.
    int verticalScrollPos() const { return verticalPos_; }
    int horizontalScrollPos() const { return horizontalPos_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createLabels();
    void moveContents(int dx, int dy);
    void scrollVerticallyTo(int position);
    void scrollHorizontallyTo(int position);

    QWidget *contents_;
    CrossPointGrid *grid_;
    QScrollBar *vertical_;
    QScrollBar *horizontal_;
    int verticalPos_ = 1;
    int horizontalPos_ = 1;
};

} // namespace arx

#pragma once

#include <QColor>
#include <QTableWidget>

namespace arx {

class CHeaderCtrlCl;

// A report-style list that draws its own rows: a fixed row height, one alignment per
// column, its own font and text colour, under a CHeaderCtrlCl. Columns keep the widths the
// owner gives them; header clicks do nothing.
class CListCtrlCl : public QTableWidget {
    Q_OBJECT
public:
    explicit CListCtrlCl(QWidget *parent = nullptr);

    CHeaderCtrlCl *header() const { return header_; }

    // One character per column, shared with the header: '0' left, '1' centre, '2' right.
    void setAlignmentString(const QString &alignments);
    QString alignmentString() const { return alignments_; }
    // Rows this many pixels high; 0 leaves the style's height.
    void setRowHeight(int height);
    int fixedRowHeight() const { return rowHeight_; }
    void setTextColour(const QColor &colour);
    QColor textColour() const { return textColour_; }
    void setFontSize(int height, int width);
    QFont cellFont() const;
    void setBackgroundColour(const QColor &colour);

    // The list-view operations the owners use.
    int insertColumn(int column, const QString &caption, int width);
    int insertItem(int row, const QString &text);
    void setItemText(int row, int column, const QString &text);
    QString itemText(int row, int column) const;
    void deleteAllItems();
    int selectedRow() const; // -1 when none
    // A marked row is drawn in the mark's colours (a device that does not answer, say).
    void setRowMarked(int row, bool marked);
    bool isRowMarked(int row) const;

signals:
    // A row was double-clicked: (list id, row).
    void rowDoubleClicked(int listId, int row);

private:
    void syncHeaderTexts();

    CHeaderCtrlCl *header_;
    QString alignments_;
    int rowHeight_ = 0;
    int systemRowHeight_;
    QColor textColour_ = QColor(0, 0, 0);
    int fontHeight_ = 10;
    int fontWidth_ = 0;
};

} // namespace arx

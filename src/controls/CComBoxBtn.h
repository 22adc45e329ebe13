#pragma once

#include "controls/SelectorLogic.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

namespace arx {

class CDropList;
class CListWnd;

// A button that behaves like a drop-down list: it shows the selected entry's text on its
// bitmap, drops its list down under itself when pressed, and steps through the entries
// with the mouse wheel. Every selection the operator makes is announced with
// `dropListSelect(listId, index)`; `select` from the owner announces nothing.
class CComBoxBtn : public QWidget {
    Q_OBJECT
public:
    static constexpr int MaximumListHeight = 200;

    explicit CComBoxBtn(QWidget *parent = nullptr);

    // Bitmaps by artwork number for the normal and the active look; the button takes the
    // normal bitmap's size, keeping its top-left corner.
    void setBitmaps(int normalId, int activeId);
    // Makes the list ready and names it; `listId` is the first value of every
    // dropListSelect. Gives the list the button's font when it has none (25-pixel entries).
    bool attachList(int listId);
    int listId() const { return listId_; }
    CDropList *dropList() const;
    CListWnd *listWindow() const { return listWindow_; }

    // Selects entry `index` clamped to the list, and shows its text. No notification.
    void select(int index);
    int currentIndex() const;
    QString text() const { return text_; }
    bool isActiveLook() const { return activeLook_; }
    bool isListShown() const;
    // Where the list opens: under the button, overlapping its bottom row, as wide as the
    // button and as high as its entries allow (at most 200 pixels, plus one).
    QRect dropListGeometry() const;

    void setFonts(const QFont &normal, const QFont &active);
    void setTextColours(const QColor &normal, const QColor &active);

    QSize sizeHint() const override;

signals:
    void dropListSelect(int listId, int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void openList();
    void onListChoice(int index);
    void showEntry(int index);

    int normalBitmapId_ = 0;
    int activeBitmapId_ = 0;
    QImage normalBitmap_;
    QImage activeBitmap_;
    QFont fonts_[2];
    QColor textColours_[2] = { QColor(255, 255, 255), QColor(255, 255, 255) };
    bool activeLook_ = false;
    QString text_;
    int listId_ = 0;
    CListWnd *listWindow_;
    WheelAccumulator wheel_;
};

} // namespace arx

#pragma once

#include <QWidget>

namespace arx {

class CDropList;

// The pop-up that drops down under a selector button and holds its CDropList. A choice
// released inside the pop-up is reported to the owner; released outside, or when the
// pop-up closes any other way, the list falls back to its previous selection and nobody
// hears of it.
class CListWnd : public QWidget {
    Q_OBJECT
public:
    explicit CListWnd(QWidget *owner);

    CDropList *list() const { return list_; }
    QWidget *owner() const { return owner_; }

signals:
    // The operator chose entry `index` of list `listId` (the drop list's own id, 1125).
    void dropListSelect(int listId, int index);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void onPicked(int index, QPoint globalPosition, bool byKeyboard);

    QWidget *owner_;
    CDropList *list_;
    bool chosen_ = false;
};

} // namespace arx

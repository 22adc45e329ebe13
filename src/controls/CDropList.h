#pragma once

#include <QColor>
#include <QListWidget>

namespace arx {

// The list inside a drop-down pop-up: fixed-height entries drawn centred on a dark ground,
// the selected one on the selection colour. The entry under the pointer becomes the
// selected one as the pointer moves; releasing the button reports the choice together
// with where the pointer was, so that the pop-up can tell a choice from an abandoned one.
class CDropList : public QListWidget {
    Q_OBJECT
public:
    static constexpr int ListControlId = 1125;
    static constexpr int FontEntryHeight = 25; // entry height once a font is set
    static const QColor Background;
    static const QColor Selection;

    explicit CDropList(QWidget *parent = nullptr);

    void addEntry(const QString &text, const QColor &textColour = QColor(255, 255, 255),
        const QColor &selectedTextColour = QColor(255, 255, 255));
    void clearEntries();
    int entryCount() const { return count(); }
    QString entryText(int index) const;

    // The entries' font; setting it also makes every entry 25 pixels high.
    void setEntryFont(const QFont &font);
    bool hasEntryFont() const { return hasEntryFont_; }
    QFont entryFont() const { return font(); }
    void setEntryHeight(int height);
    int entryHeight() const { return entryHeight_; }

    int currentSelection() const { return currentRow(); }
    void setCurrentSelection(int index);
    // The entry to fall back to when a choice is abandoned; the selector stores every
    // accepted index here.
    void setPreviousSelection(int index) { previousSelection_ = index; }
    int previousSelection() const { return previousSelection_; }

signals:
    // The operator picked the current entry with the mouse (button released at
    // `globalPosition`) or with the Return key (`byKeyboard`).
    void picked(int index, QPoint globalPosition, bool byKeyboard);
    // Escape was pressed.
    void abandoned();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void selectEntryAt(const QPoint &position);

    int entryHeight_ = 40;
    bool hasEntryFont_ = false;
    bool pressed_ = false;
    int previousSelection_ = 0;
};

} // namespace arx

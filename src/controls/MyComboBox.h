#pragma once

#include <QComboBox>

namespace arx {

// The colour combo box of ARN1 and VEL-K strips: a drop-down list of the eight ring colours
// (colourIndexTable), each item a swatch without text; the index is the unit's colour code.
// Item 0 is selected when it is made.
class MyComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int ItemHeight = 18;

    explicit MyComboBox(QWidget *parent = nullptr);

    // The swatch of an item: 2 pixels inside its left, top and bottom edges, reaching its
    // right edge (one pixel short of it when the width is odd).
    static QRect swatchRect(const QRect &item);

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool viewPrepared_ = false;
};

} // namespace arx

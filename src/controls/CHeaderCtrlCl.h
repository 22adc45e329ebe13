#pragma once

#include "controls/HeaderGradient.h"

#include <QColor>
#include <QHeaderView>
#include <QStringList>

namespace arx {

// The column header of CListCtrlCl: every column drawn as a vertical colour gradient with
// its caption, in its own font, at a height the owner scales. Columns cannot be resized,
// moved or clicked.
class CHeaderCtrlCl : public QHeaderView {
    Q_OBJECT
public:
    explicit CHeaderCtrlCl(QWidget *parent = nullptr);

    // One caption per column; the header draws these, not its model's texts.
    void setItemTexts(const QStringList &texts);
    QStringList itemTexts() const { return texts_; }
    // One character per column: '0' left, '1' centre, '2' right (anything else centre).
    void setAlignmentString(const QString &alignments);
    // Colour of the top line; every line below takes `step` off each component.
    void setBaseColour(Rgb base);
    Rgb baseColour() const { return base_; }
    void setGradientStep(int step);
    // Multiplies the height the style gives the header.
    void setHeightFactor(double factor);
    double heightFactor() const { return heightFactor_; }
    void setFontSize(int height, int width);
    void setTextColour(const QColor &colour);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintGradient(QPainter &painter, const QRect &area) const;

    QStringList texts_;
    QString alignments_;
    Rgb base_ { 171, 199, 235 };
    int step_ = 8;
    double heightFactor_ = 1.0;
    int fontHeight_ = 15;
    int fontWidth_ = 0;
    QColor textColour_ = QColor(0, 0, 0);
};

// Qt alignment of column `column` by an alignment string: '0' left, '2' right, else centre.
Qt::Alignment columnAlignment(const QString &alignments, int column);

} // namespace arx

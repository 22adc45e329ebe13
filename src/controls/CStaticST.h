#pragma once

#include "controls/LabelValueText.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

class QPainter;

namespace arx {

// The label of every page. It draws its text antialiased, bold, over either a copy of what
// its parent painted beneath it (transparent, the default) or a fill colour with optional
// pictures. In value mode it composes its text from a number, a prefix and a suffix.
class CStaticST : public QWidget {
    Q_OBJECT
public:
    // Near, centre or far, for both directions at once.
    enum Alignment { Near = 0, Centre = 1, Far = 2 };
    // Layout flags honoured when set with setFormatFlags (the Windows string format values).
    // Vertical text reads top to bottom, its glyphs turned a quarter turn clockwise, with
    // its lines side by side from left to right, or from right to left with RightToLeft;
    // horizontal RightToLeft text reads right to left and mirrors the alignment across.
    // Glyphs are never moved to fit inside the label, so NoFitBlackBox always holds.
    enum FormatFlag {
        RightToLeft = 0x1,
        Vertical = 0x2,
        NoFitBlackBox = 0x4,
        NoWrap = 0x1000,
        NoClip = 0x4000,
    };

    explicit CStaticST(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return text_; }
    // true: draw the text; false: compose it from the value.
    void setTextMode(bool textMode);
    void setPrefix(const QString &prefix);
    void setSuffix(const QString &suffix);
    void setValue(double value);
    double value() const { return value_; }
    void setDivisor(double divisor);
    void setOffset(double offset);
    // 0 never OFF, 1 OFF when the value equals the first OFF value, 2 the second.
    void setOffMode(int offMode);
    void setOffValues(double first, double second);
    // What the label shows now.
    QString displayText() const;

    // The face the text is drawn in; "Arial Unicode MS" unless set.
    enum class Face { Unicode, SimSun };
    void setFace(Face face);
    void setTextSize(int points);
    void setTextColour(const QColor &colour);
    void setEraseColour(const QColor &colour);
    void setAlignment(int alignment);
    void setFormatFlags(int flags);

    void setTransparent(bool transparent);
    bool isTransparent() const { return transparent_; }
    void setFillColour(const QColor &colour);
    // Pictures of the filled look, each drawn only while shown: the bitmap at the top-left
    // corner, the stretched image over the whole control, the natural-size image at the
    // top-left corner.
    void setBitmap(const QImage &bitmap, bool show = true);
    void setStretchedImage(const QImage &image, bool show = true);
    void setNaturalImage(const QImage &image, bool show = true);
    // The natural-size image by artwork number; the label takes the image's size, keeping
    // its top-left corner.
    void setImage(int artworkId);

    // Forget the captured background; the next paint captures the parent again. Owners
    // call this after moving the label or changing its text.
    void deleteBackgroundCache();
    bool hasBackgroundCache() const { return !backgroundCache_.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void captureBackground();
    bool hasFlag(FormatFlag flag) const { return formatFlags_ > 0 && (formatFlags_ & flag); }
    void drawVerticalText(QPainter &painter, const QString &text) const;

    QString text_;
    bool textMode_ = true;
    QString prefix_;
    QString suffix_;
    double value_ = 0;
    double divisor_ = 1.0;
    double offset_ = 0;
    int offMode_ = 0;
    double firstOffValue_ = 1.0;
    double secondOffValue_ = 10.0;
    Face face_ = Face::Unicode;
    int textPoints_ = 8;
    QColor textColour_ = QColor(255, 255, 255);
    QColor eraseColour_ = QColor(0, 0, 0);
    int alignment_ = Centre;
    int formatFlags_ = 0;
    bool transparent_ = true;
    QColor fillColour_ = QColor(128, 128, 128);
    QImage bitmap_;
    bool showBitmap_ = false;
    QImage stretchedImage_;
    bool showStretchedImage_ = false;
    QImage naturalImage_;
    bool showNaturalImage_ = false;
    QPixmap backgroundCache_;
};

} // namespace arx

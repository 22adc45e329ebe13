#include "controls/CStaticST.h"

#include "controls/Artwork.h"
#include "controls/ControlFonts.h"

#include <QPainter>

namespace arx {

namespace {

Qt::Alignment qtAlignment(int alignment)
{
    switch (alignment) {
    case CStaticST::Near:
        return Qt::AlignLeft | Qt::AlignTop;
    case CStaticST::Far:
        return Qt::AlignRight | Qt::AlignBottom;
    default:
        return Qt::AlignCenter;
    }
}

} // namespace

CStaticST::CStaticST(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CStaticST::setText(const QString &text)
{
    text_ = text;
    update();
}

void CStaticST::setTextMode(bool textMode)
{
    textMode_ = textMode;
    update();
}

void CStaticST::setPrefix(const QString &prefix)
{
    prefix_ = prefix;
    update();
}

void CStaticST::setSuffix(const QString &suffix)
{
    suffix_ = suffix;
    update();
}

void CStaticST::setValue(double value)
{
    value_ = value;
    update();
}

void CStaticST::setDivisor(double divisor)
{
    divisor_ = divisor;
    update();
}

void CStaticST::setOffset(double offset)
{
    offset_ = offset;
    update();
}

void CStaticST::setOffMode(int offMode)
{
    offMode_ = offMode;
    update();
}

void CStaticST::setOffValues(double first, double second)
{
    firstOffValue_ = first;
    secondOffValue_ = second;
    update();
}

QString CStaticST::displayText() const
{
    if (textMode_)
        return text_;
    const LabelValueFormat format { prefix_.toStdString(), suffix_.toStdString(), divisor_, offset_,
        offMode_, firstOffValue_, secondOffValue_ };
    return QString::fromStdString(labelValueText(format, value_));
}

void CStaticST::setTextSize(int points)
{
    textPoints_ = points;
    update();
}

void CStaticST::setTextColour(const QColor &colour)
{
    textColour_ = colour;
    update();
}

void CStaticST::setEraseColour(const QColor &colour)
{
    eraseColour_ = colour;
    update();
}

void CStaticST::setAlignment(int alignment)
{
    alignment_ = alignment;
    update();
}

void CStaticST::setFormatFlags(int flags)
{
    formatFlags_ = flags;
    update();
}

void CStaticST::setTransparent(bool transparent)
{
    transparent_ = transparent;
    update();
}

void CStaticST::setFillColour(const QColor &colour)
{
    fillColour_ = colour;
    update();
}

void CStaticST::setBitmap(const QImage &bitmap, bool show)
{
    bitmap_ = bitmap;
    showBitmap_ = show;
    update();
}

void CStaticST::setStretchedImage(const QImage &image, bool show)
{
    stretchedImage_ = image;
    showStretchedImage_ = show;
    update();
}

void CStaticST::setNaturalImage(const QImage &image, bool show)
{
    naturalImage_ = image;
    showNaturalImage_ = show;
    update();
}

void CStaticST::setImage(int artworkId)
{
    naturalImage_ = pngImage(artworkId);
    showNaturalImage_ = true;
    if (!naturalImage_.isNull())
        resize(naturalImage_.size());
    update();
}

void CStaticST::deleteBackgroundCache()
{
    backgroundCache_ = QPixmap();
    update();
}

void CStaticST::resizeEvent(QResizeEvent *)
{
    // A cache of the old size would leave part of the label unpainted.
    backgroundCache_ = QPixmap();
}

void CStaticST::captureBackground()
{
    // What the parent paints under the label, without any of its children (this label
    // included). Where the parent leaves pixels unpainted the cache stays black.
    backgroundCache_ = QPixmap(size());
    backgroundCache_.fill(Qt::black);
    if (QWidget *parent = parentWidget()) {
        parent->render(
            &backgroundCache_, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    }
}

void CStaticST::paintEvent(QPaintEvent *)
{
    if (transparent_ && backgroundCache_.isNull())
        captureBackground();

    QPainter painter(this);
    painter.fillRect(rect(), eraseColour_);
    if (transparent_) {
        painter.drawPixmap(0, 0, backgroundCache_);
    } else {
        painter.fillRect(rect(), fillColour_);
        if (showBitmap_ && !bitmap_.isNull())
            painter.drawImage(0, 0, bitmap_);
        if (showStretchedImage_ && !stretchedImage_.isNull()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(rect(), stretchedImage_);
        }
        if (showNaturalImage_ && !naturalImage_.isNull())
            painter.drawImage(0, 0, naturalImage_);
    }

    const QString shown = displayText();
    if (shown.isEmpty())
        return;
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(unicodeBoldFont(textPoints_));
    painter.setPen(textColour_);
    int flags = qtAlignment(alignment_);
    if (formatFlags_ <= 0 || !(formatFlags_ & NoWrap))
        flags |= Qt::TextWordWrap;
    if (formatFlags_ > 0 && (formatFlags_ & NoClip))
        flags |= Qt::TextDontClip;
    painter.drawText(rect(), flags, shown);
}

} // namespace arx

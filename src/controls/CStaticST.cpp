#include "controls/CStaticST.h"

#include "controls/Artwork.h"
#include "controls/ControlFonts.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <vector>

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

// Right-to-left reading swaps near and far across the label.
int mirroredAlignment(int alignment)
{
    switch (alignment) {
    case CStaticST::Near:
        return Qt::AlignRight | Qt::AlignTop;
    case CStaticST::Far:
        return Qt::AlignLeft | Qt::AlignBottom;
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
    // Strips are refreshed often with what they show already: repaint only for a change.
    if (text == text_)
        return;
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

void CStaticST::setFace(Face face)
{
    face_ = face;
    update();
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
    if (colour == fillColour_)
        return;
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
    const QImage image = pngImage(artworkId);
    if (showNaturalImage_ && image.cacheKey() == naturalImage_.cacheKey())
        return;
    naturalImage_ = image;
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
    painter.setFont(
        face_ == Face::SimSun ? simSunBoldFont(textPoints_) : unicodeBoldFont(textPoints_));
    painter.setPen(textColour_);
    if (hasFlag(Vertical)) {
        drawVerticalText(painter, shown);
        return;
    }
    // Absolute, so that Qt does not mirror the mirrored alignment back for right-to-left text.
    int flags = hasFlag(RightToLeft)
        ? mirroredAlignment(alignment_) | Qt::AlignAbsolute | Qt::TextForceRightToLeft
        : int(qtAlignment(alignment_));
    if (!hasFlag(NoWrap))
        flags |= Qt::TextWordWrap;
    if (hasFlag(NoClip))
        flags |= Qt::TextDontClip;
    painter.drawText(rect(), flags, shown);
}

void CStaticST::drawVerticalText(QPainter &painter, const QString &text) const
{
    // Laid out as horizontal text in a frame turned a quarter turn clockwise: the frame's x
    // runs down the label, its y from the label's right edge to its left.
    const qreal lineLength = height();
    const qreal across = width();
    QTextLayout layout(text, painter.font());
    QTextOption option;
    option.setWrapMode(hasFlag(NoWrap) ? QTextOption::NoWrap : QTextOption::WordWrap);
    layout.setTextOption(option);
    std::vector<QTextLine> lines;
    qreal total = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(lineLength);
        total += line.height();
        lines.push_back(line);
    }
    layout.endLayout();

    // Lines follow each other from the right edge (frame top) for right-to-left reading,
    // from the left edge (frame bottom) otherwise; near and far follow the reading order.
    const bool rightToLeft = hasFlag(RightToLeft);
    const qreal share = alignment_ == Near ? 0.0 : alignment_ == Far ? 1.0 : 0.5;
    const qreal first = rightToLeft ? (across - total) * share : (across - total) * (1 - share);
    if (!rightToLeft)
        std::reverse(lines.begin(), lines.end());
    qreal y = first;
    for (QTextLine &line : lines) {
        line.setPosition(QPointF((lineLength - line.naturalTextWidth()) * share, y));
        y += line.height();
    }

    painter.save();
    painter.translate(width(), 0);
    painter.rotate(90);
    if (!hasFlag(NoClip))
        painter.setClipRect(QRectF(0, 0, lineLength, across));
    layout.draw(&painter, QPointF());
    painter.restore();
}

} // namespace arx

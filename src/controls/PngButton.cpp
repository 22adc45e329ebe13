#include "controls/PngButton.h"

#include "controls/Artwork.h"
#include "controls/ControlFonts.h"
#include "controls/ControlId.h"

#include <QMouseEvent>
#include <QPainter>

namespace arx {

PngButton::PngButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, [this] { emit commanded(controlId(this)); });
}

void PngButton::setImages(int normalId, int pressedId)
{
    setImages(pngImage(normalId), pngImage(pressedId));
}

void PngButton::setImages(int normalId, int pressedId, int hoverId)
{
    setImages(pngImage(normalId), pngImage(pressedId), pngImage(hoverId));
}

void PngButton::setImages(const QImage &normal, const QImage &pressed, const QImage &hover)
{
    images_[0] = normal;
    images_[1] = pressed;
    images_[2] = hover;
    const PixelSize size
        = buttonSizeFor(sizeMode_, { width(), height() }, { normal.width(), normal.height() });
    resize(size.width, size.height);
    update();
}

void PngButton::setMode(ButtonMode mode)
{
    mode_ = mode;
    update();
}

void PngButton::setState(int state)
{
    if (state == state_)
        return;
    state_ = state;
    update();
}

void PngButton::setDrawCaption(bool draw)
{
    drawCaption_ = draw;
    update();
}

void PngButton::setSizeMode(int sizeMode)
{
    sizeMode_ = sizeMode;
}

void PngButton::setCaptionSize(int points)
{
    captionPoints_ = points;
    update();
}

void PngButton::setCaptionColours(const QColor &off, const QColor &on)
{
    captionOff_ = off;
    captionOn_ = on;
    update();
}

int PngButton::shownImage() const
{
    return shownButtonImage(mode_, state_, isDown(), hovered_, !images_[2].isNull());
}

QSize PngButton::sizeHint() const
{
    return images_[0].isNull() ? QSize(80, 24) : images_[0].size();
}

void PngButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QImage &image = images_[shownImage() - 1];
    if (!image.isNull())
        painter.drawImage(rect(), image);

    if (drawCaption_ && !text().isEmpty()) {
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(arialPointFont(captionPoints_));
        painter.setPen(state_ != 0 ? captionOn_ : captionOff_);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
}

void PngButton::enterEvent(QEnterEvent *event)
{
    setHovered(true);
    QAbstractButton::enterEvent(event);
}

void PngButton::leaveEvent(QEvent *event)
{
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

void PngButton::mouseMoveEvent(QMouseEvent *event)
{
    // Also here, for pointers that arrive without an enter event (a button shown under a
    // resting pointer).
    if (rect().contains(event->position().toPoint()))
        setHovered(true);
    QAbstractButton::mouseMoveEvent(event);
}

void PngButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click is a click of its own: two quick clicks on a
    // toggle must give the owner two commands.
    mousePressEvent(event);
}

void PngButton::setHovered(bool hovered)
{
    if (hovered_ == hovered)
        return;
    hovered_ = hovered;
    update();
}

} // namespace arx

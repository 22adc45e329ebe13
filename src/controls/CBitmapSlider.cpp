#include "controls/CBitmapSlider.h"

#include "controls/Artwork.h"
#include "controls/ControlId.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cstdlib>

namespace arx {

CBitmapSlider::CBitmapSlider(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void CBitmapSlider::setChannelImages(int id, int activeId)
{
    setChannelImages(pngImage(id), pngImage(activeId));
}

void CBitmapSlider::setChannelImages(const QImage &channel, const QImage &activeChannel)
{
    channel_ = channel;
    activeChannel_ = activeChannel;
    // Without its image the slider keeps its size rather than shrinking to nothing.
    channelLoaded_ = !channel.isNull();
    if (channelLoaded_) {
        channelSize_ = channel.size();
        resize(channelSize_);
    }
    update();
}

void CBitmapSlider::setThumbImages(int id, int activeId)
{
    setThumbImages(pngImage(id), activeId != 0 ? pngImage(activeId) : QImage());
}

void CBitmapSlider::setThumbImages(const QImage &thumb, const QImage &activeThumb)
{
    thumb_ = thumb;
    activeThumb_ = activeThumb;
    update();
}

void CBitmapSlider::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    update();
}

void CBitmapSlider::setMargins(int left, int top, int right, int bottom)
{
    marginLeft_ = left;
    marginTop_ = top;
    marginRight_ = right;
    marginBottom_ = bottom;
    update();
}

void CBitmapSlider::setVertical(bool vertical)
{
    vertical_ = vertical;
    update();
}

void CBitmapSlider::setPosition(int position)
{
    position_ = axis().clampPosition(position);
    update();
}

SliderAxis CBitmapSlider::axis() const
{
    const QSize channel = channelLoaded_ ? channelSize_ : size();
    if (vertical_)
        return SliderAxis { channel.height(), marginTop_, marginBottom_, thumb_.height(), minimum_,
            maximum_ };
    return SliderAxis { channel.width(), marginLeft_, marginRight_, thumb_.width(), minimum_,
        maximum_ };
}

int CBitmapSlider::along(const QPoint &point) const
{
    return vertical_ ? point.y() : point.x();
}

QRect CBitmapSlider::thumbRect() const
{
    if (thumb_.isNull())
        return {};
    const int centre = axis().pixelOf(position_);
    if (vertical_)
        return QRect(QPoint(marginLeft_, centre - thumb_.height() / 2), thumb_.size());
    return QRect(QPoint(centre - thumb_.width() / 2, marginTop_), thumb_.size());
}

void CBitmapSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (channelLoaded_) {
        if (isEnabled()) {
            // Filled from the start to the thumb's centre, the rest from the active image.
            const int split = axis().pixelOf(position_);
            const QRect whole(QPoint(0, 0), channelSize_);
            QRect filled = whole;
            QRect rest = whole;
            if (vertical_) {
                filled.setBottom(split - 1);
                rest.setTop(split);
            } else {
                filled.setRight(split - 1);
                rest.setLeft(split);
            }
            painter.drawImage(filled.topLeft(), channel_, filled);
            painter.drawImage(rest.topLeft(), activeChannel_, rest);
        } else {
            painter.drawImage(QPoint(0, 0), activeChannel_);
        }
    }
    if (!thumb_.isNull() && isEnabled()) {
        const QImage &image = dragging_ && !activeThumb_.isNull() ? activeThumb_ : thumb_;
        painter.drawImage(thumbRect().topLeft(), image);
    }
}

void CBitmapSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    const int pointer = along(event->position().toPoint());
    // Grabbing the thumb keeps it where it sits under the pointer; a click beside it makes
    // it jump so that its centre is under the pointer.
    grabOffset_ = pointer - axis().pixelOf(position_);
    if (std::abs(grabOffset_) > axis().thumbSize / 2)
        grabOffset_ = 0;
    dragTo(pointer);
    update();
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging_)
        dragTo(along(event->position().toPoint()));
}

void CBitmapSlider::dragTo(int pointer)
{
    const SliderAxis slider = axis();
    const int centre = slider.clampPixel(pointer - grabOffset_);
    if (centre == slider.pixelOf(position_))
        return;
    const int position = slider.clampPosition(slider.positionOf(centre));
    if (position == position_)
        return;
    position_ = position;
    update();
    emit sliderMoving(controlId(this), position_);
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    dragging_ = false;
    update();
    emit sliderMoved(controlId(this), position_);
}

void CBitmapSlider::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    emit sliderDoubleClicked(controlId(this), position_);
    update();
}

void CBitmapSlider::keyPressEvent(QKeyEvent *event)
{
    int position = position_;
    switch (event->key()) {
    case Qt::Key_PageUp:
        position -= pageStep_;
        break;
    case Qt::Key_PageDown:
        position += pageStep_;
        break;
    case Qt::Key_End:
        position = maximum_;
        break;
    case Qt::Key_Home:
        position = minimum_;
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        position -= 1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        position += 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    position_ = axis().clampPosition(position);
    update();
    emit sliderMoved(controlId(this), position_);
}

} // namespace arx

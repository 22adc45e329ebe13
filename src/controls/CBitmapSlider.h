#pragma once

#include "format/SliderAxis.h"

#include <QImage>
#include <QWidget>

namespace arx {

// A slider drawn from images: the channel left of (or above) the thumb comes from the
// channel image, the rest from the active channel image, and the thumb is drawn unscaled
// with its centre at the position's pixel. It tells its parent about drags, releases, key
// steps and double clicks with (control id, position) signals; setPosition never does.
class CBitmapSlider : public QWidget {
    Q_OBJECT

public:
    explicit CBitmapSlider(QWidget *parent = nullptr);

    // Loads the two channel images from the PNG artwork, takes the channel size from the
    // first and resizes the slider to it, keeping its top-left corner.
    void setChannelImages(int id, int activeId);
    void setChannelImages(const QImage &channel, const QImage &activeChannel);
    // Loads the thumb and, unless activeId is 0, the thumb shown while dragging.
    void setThumbImages(int id, int activeId);
    void setThumbImages(const QImage &thumb, const QImage &activeThumb);

    void setRange(int minimum, int maximum);
    void setPageStep(int step) { pageStep_ = step; }
    void setMargins(int left, int top, int right, int bottom);
    void setVertical(bool vertical);

    // Clamps to the range and repaints; emits nothing.
    void setPosition(int position);

    int position() const { return position_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int pageStep() const { return pageStep_; }
    bool isVertical() const { return vertical_; }
    bool isDragging() const { return dragging_; }

    // Where the thumb is drawn, in widget coordinates; empty without a thumb image. Painting
    // and tests both read it.
    QRect thumbRect() const;

signals:
    void sliderMoving(int controlId, int position); // a drag changed the position
    void sliderMoved(int controlId, int position); // released, or stepped by a key
    void sliderDoubleClicked(int controlId, int position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    SliderAxis axis() const;
    int along(const QPoint &point) const; // the coordinate along the slider's length
    void dragTo(int pointer);

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int pageStep_ = 20;
    int marginLeft_ = 0;
    int marginTop_ = 0;
    int marginRight_ = 0;
    int marginBottom_ = 0;
    QSize channelSize_; // of the channel image; the slider's own size until one is loaded
    int grabOffset_ = 0;
    bool vertical_ = false;
    bool channelLoaded_ = false;
    bool dragging_ = false;

    QImage channel_;
    QImage activeChannel_;
    QImage thumb_;
    QImage activeThumb_;
};

} // namespace arx

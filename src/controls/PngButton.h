#pragma once

#include "controls/ImageButtonLogic.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>

namespace arx {

// A button painted entirely from images, with an optional centred caption (the button's
// text). As a push button it shows normal, pressed and (optionally) hover images; as a
// toggle it shows its off or on image by the state its owner sets. It never changes its
// own state: every click reaches the owner as `commanded(id)` and the owner decides.
class PngButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PngButton(QWidget *parent = nullptr);

    // Two-image set-up (push: normal, pressed; toggle: off, on) and three-image set-up
    // (push: normal, pressed, hover), by artwork number. Both then size the button by its
    // size mode, keeping its top-left corner.
    void setImages(int normalId, int pressedId);
    void setImages(int normalId, int pressedId, int hoverId);
    void setImages(const QImage &normal, const QImage &pressed, const QImage &hover = {});

    void setMode(ButtonMode mode);
    ButtonMode mode() const { return mode_; }
    // Toggle state, 0 off or 1 on; the button repaints.
    void setState(int state);
    int state() const { return state_; }
    void setDrawCaption(bool draw);
    // 0: keep the button's size, 1: the first image's size, 2: half of it. Applied by the
    // next setImages.
    void setSizeMode(int sizeMode);
    int sizeMode() const { return sizeMode_; }
    void setCaptionSize(int points);
    void setCaptionColours(const QColor &off, const QColor &on);

    bool isHovered() const { return hovered_; }
    // 1, 2 or 3: the image painted now; the images were set in that order.
    int shownImage() const;

    QSize sizeHint() const override;

signals:
    // The ordinary button command, one per click (a double click counts as a second one).
    void commanded(int controlId);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void setHovered(bool hovered);

    ButtonMode mode_ = ButtonMode::Toggle;
    int state_ = 0;
    bool drawCaption_ = true;
    int sizeMode_ = 0;
    QImage images_[3];
    int captionPoints_ = 10;
    QColor captionOff_ = QColor(255, 255, 255);
    QColor captionOn_ = QColor(0, 230, 255);
    bool hovered_ = false;
};

} // namespace arx

#include "controls/CPeakMeterCtrl.h"

#include <QPainter>

#include <algorithm>

namespace arx {

namespace {

constexpr int GridDarkening = 15;
constexpr int PeakDarkening = 60;

QColor darkened(const QColor &colour, int amount)
{
    return QColor(std::max(colour.red() - amount, 0), std::max(colour.green() - amount, 0),
        std::max(colour.blue() - amount, 0));
}

QRect toQRect(const meter::Rect &r)
{
    return QRect(r.x, r.y, r.width, r.height);
}

} // namespace

CPeakMeterCtrl::CPeakMeterCtrl(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CPeakMeterCtrl::setHorizontal(bool horizontal)
{
    direction_ = horizontal ? meter::Direction::Horizontal : meter::Direction::Vertical;
    update();
}

void CPeakMeterCtrl::setBandCount(int count)
{
    bands_.assign(
        static_cast<size_t>(std::max(count, 0)), Band { scale_.rangeMax, scale_.rangeMax });
    update();
}

void CPeakMeterCtrl::setLedCount(int ledsPerBand)
{
    scale_.ledsPerBand = ledsPerBand;
    update();
}

void CPeakMeterCtrl::setZoneLimits(int lowLimit, int mediumLimit, int rangeMax)
{
    scale_.lowLimit = lowLimit;
    scale_.mediumLimit = mediumLimit;
    scale_.rangeMax = rangeMax;
    update();
}

void CPeakMeterCtrl::setGrid(bool grid)
{
    grid_ = grid;
    update();
}

void CPeakMeterCtrl::setPeakLine(bool peakLine)
{
    peakLine_ = peakLine;
    update();
}

void CPeakMeterCtrl::setBandValue(int band, int value)
{
    if (band < 0 || band >= bandCount())
        return;
    Band &target = bands_[static_cast<size_t>(band)];
    if (value == target.value && value <= target.peak)
        return;
    target.value = value;
    target.peak = std::max(target.peak, value);
    update();
}

int CPeakMeterCtrl::bandValue(int band) const
{
    return band >= 0 && band < bandCount() ? bands_[static_cast<size_t>(band)].value : 0;
}

int CPeakMeterCtrl::bandPeak(int band) const
{
    return band >= 0 && band < bandCount() ? bands_[static_cast<size_t>(band)].peak : 0;
}

meter::Led CPeakMeterCtrl::ledState(int band, int led) const
{
    if (band < 0 || band >= bandCount() || led < 0 || led >= meter::ledCount(scale_))
        return meter::Led::Unlit;
    return meter::ledState(scale_, bandValue(band), led);
}

void CPeakMeterCtrl::setBackgroundColour(const QColor &colour)
{
    background_ = colour;
    update();
}

void CPeakMeterCtrl::setZoneColours(const QColor &low, const QColor &medium, const QColor &high)
{
    low_ = low;
    medium_ = medium;
    high_ = high;
    update();
}

QColor CPeakMeterCtrl::backgroundColour() const
{
    return background_.isValid() ? background_ : palette().color(QPalette::Button);
}

QSize CPeakMeterCtrl::sizeHint() const
{
    return isHorizontal() ? QSize(192, 10) : QSize(40, 160);
}

QColor CPeakMeterCtrl::ledColour(meter::Led led) const
{
    switch (led) {
    case meter::Led::Low:
        return low_;
    case meter::Led::Medium:
        return medium_;
    case meter::Led::High:
        return high_;
    case meter::Led::Unlit:
        break;
    }
    const QColor background = backgroundColour();
    return grid_ ? darkened(background, GridDarkening) : background;
}

void CPeakMeterCtrl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor background = backgroundColour();
    painter.fillRect(rect(), background);
    painter.setPen(darkened(background, GridDarkening));

    const meter::Layout layout(scale_, direction_, bandCount(), width(), height());
    const int leds = meter::ledCount(scale_);
    for (int band = 0; band < bandCount(); ++band) {
        for (int led = 0; led < leds; ++led) {
            if (grid_) {
                if (const auto tick = layout.tick(band, led))
                    painter.drawLine(tick->x1, tick->y1, tick->x2, tick->y2);
            }
            painter.fillRect(toQRect(layout.led(band, led)), ledColour(ledState(band, led)));
        }
        if (peakLine_) {
            if (const auto peak = layout.peakLine(band, bandPeak(band))) {
                painter.save();
                painter.setPen(darkened(background, PeakDarkening));
                painter.drawLine(peak->x1, peak->y1, peak->x2, peak->y2);
                painter.restore();
            }
        }
    }
}

} // namespace arx

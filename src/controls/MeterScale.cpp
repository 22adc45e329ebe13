#include "controls/MeterScale.h"

namespace arx::meter {

int ledCount(const Scale &scale)
{
    return scale.ledsPerBand > 1 ? scale.ledsPerBand : scale.rangeMax * 10 / 100;
}

int firstMediumLed(const Scale &scale)
{
    return scale.rangeMax > 0 ? ledCount(scale) * scale.lowLimit / scale.rangeMax : 0;
}

int firstHighLed(const Scale &scale)
{
    return scale.rangeMax > 0 ? ledCount(scale) * scale.mediumLimit / scale.rangeMax : 0;
}

int litCount(const Scale &scale, int value)
{
    return scale.rangeMax > 0 ? ledCount(scale) * value / scale.rangeMax : 0;
}

Led ledState(const Scale &scale, int value, int led)
{
    if (led >= litCount(scale, value))
        return Led::Unlit;
    if (led < firstMediumLed(scale))
        return Led::Low;
    if (led < firstHighLed(scale))
        return Led::Medium;
    return Led::High;
}

Layout::Layout(
    const Scale &scale, Direction direction, int bandCount, int clientWidth, int clientHeight)
    : scale_(scale)
    , direction_(direction)
    , bandCount_(bandCount)
    , leds_(ledCount(scale))
    , width_(clientWidth)
    , height_(clientHeight)
{
}

Rect Layout::led(int band, int led) const
{
    if (bandCount_ <= 0 || leds_ <= 0)
        return {};
    int left, top, right, bottom;
    if (direction_ == Direction::Vertical) {
        const int bandWidth = width_ / bandCount_;
        const int ledHeight = height_ / leds_;
        left = band * bandWidth;
        right = left + bandWidth;
        bottom = height_ - led * ledHeight;
        top = bottom - ledHeight;
        if (bandCount_ > 1) {
            ++left;
            --right;
        }
        if (leds_ > 1)
            ++top;
    } else {
        const int ledWidth = width_ / leds_;
        const int bandHeight = height_ / bandCount_;
        left = led * ledWidth;
        right = left + ledWidth;
        top = height_ % bandCount_ + band * bandHeight;
        bottom = top + bandHeight;
        if (leds_ > 1)
            ++left;
        if (bandCount_ > 1) {
            ++top;
            --bottom;
        }
    }
    return { left, top, right - left, bottom - top };
}

std::optional<Line> Layout::tick(int band, int led) const
{
    if (led != firstMediumLed(scale_) && led != leds_ - 1)
        return std::nullopt;
    const Rect r = this->led(band, led);
    if (direction_ == Direction::Vertical) {
        const int middle = r.y + r.height / 2;
        return Line { r.x - 1, middle, r.right(), middle };
    }
    const int middle = r.x + r.width / 2;
    return Line { middle, r.y - 1, middle, r.bottom() };
}

std::optional<Line> Layout::peakLine(int band, int peak) const
{
    // A one-LED meter with a range below 10 draws no LED, and so no peak either.
    if (direction_ != Direction::Vertical || scale_.rangeMax <= 0 || leds_ <= 0)
        return std::nullopt;
    const Rect first = led(band, 0);
    const int ledHeight = height_ / leds_;
    const int y = first.bottom() - ledHeight * leds_ * peak / scale_.rangeMax;
    return Line { first.x, y, first.right() - 1, y };
}

} // namespace arx::meter

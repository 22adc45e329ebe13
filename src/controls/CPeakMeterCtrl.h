#pragma once

#include "controls/MeterScale.h"

#include <QColor>
#include <QWidget>

#include <vector>

namespace arx {

// An LED level meter: bands side by side, each a column (or row) of LEDs lit from the
// bottom (or left) in green, yellow and red zones, with a peak mark. The owner sets the
// values; the meter measures nothing itself.
class CPeakMeterCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CPeakMeterCtrl(QWidget *parent = nullptr);

    void setHorizontal(bool horizontal);
    bool isHorizontal() const { return direction_ == meter::Direction::Horizontal; }
    // Resizes the bands to `count`, every one at full scale (value and peak at the range
    // maximum) until its first value arrives.
    void setBandCount(int count);
    int bandCount() const { return static_cast<int>(bands_.size()); }
    void setLedCount(int ledsPerBand);
    void setZoneLimits(int lowLimit, int mediumLimit, int rangeMax);
    const meter::Scale &scale() const { return scale_; }
    void setGrid(bool grid);
    bool hasGrid() const { return grid_; }
    void setPeakLine(bool peakLine);

    // The band's value; its peak rises with it. A band that does not exist is ignored.
    void setBandValue(int band, int value);
    int bandValue(int band) const;
    int bandPeak(int band) const;
    // What LED `led` of `band` shows now.
    meter::Led ledState(int band, int led) const;

    void setBackgroundColour(const QColor &colour);
    void setZoneColours(const QColor &low, const QColor &medium, const QColor &high);
    QColor backgroundColour() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Band {
        int value = 0;
        int peak = 0;
    };
    QColor ledColour(meter::Led led) const;

    meter::Scale scale_;
    meter::Direction direction_ = meter::Direction::Vertical;
    bool grid_ = false;
    bool peakLine_ = true;
    std::vector<Band> bands_;
    QColor background_;
    QColor low_ = QColor(0, 255, 0);
    QColor medium_ = QColor(255, 255, 0);
    QColor high_ = QColor(255, 0, 0);
};

} // namespace arx

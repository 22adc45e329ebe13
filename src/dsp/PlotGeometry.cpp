#include "dsp/PlotGeometry.h"

#include "dsp/BandKinds.h"

#include <algorithm>
#include <cmath>

namespace arx {

namespace {

// Far below a pixel, far above the error of one log10/pow round trip.
constexpr double PixelTolerance = 1e-7;

int wholePixel(double value)
{
    return static_cast<int>(std::floor(value + PixelTolerance));
}

} // namespace

PlotArea plotAreaFor(int clientWidth, int clientHeight, bool framed)
{
    if (!framed)
        return { .left = 0, .top = 0, .right = clientWidth, .bottom = clientHeight };
    return { .left = clientWidth / 20,
        .top = clientHeight / 20,
        .right = clientWidth - clientWidth / 20,
        .bottom = clientHeight - clientHeight / 10 };
}

double PlotAxes::xOf(double frequency) const
{
    return std::log10(frequency / fmin) / std::log10(fmax / fmin) * area.width() + area.left;
}

double PlotAxes::frequencyAt(double x) const
{
    return fmin * std::pow(10.0, std::log10(fmax / fmin) * (x - area.left) / area.width());
}

double PlotAxes::yOf(double dB) const
{
    const double clamped = std::clamp(dB, dBmin, dBmax);
    return area.bottom - area.height() * (clamped - dBmin) / (dBmax - dBmin);
}

double PlotAxes::gainAt(double y) const
{
    return dBmin + (area.bottom - y) * (dBmax - dBmin) / area.height();
}

HandleRect handleRectFor(const PlotAxes &axes, const HandleValues &values)
{
    const PlotArea &area = axes.area;
    const int centreX = wholePixel(axes.xOf(values.frequency));
    const int centreY = wholePixel(area.middle() - area.halfHeight() * values.gain / axes.dBmax);
    return { .left = centreX - HandleHalf, .top = centreY - HandleHalf };
}

HandleValues handleValuesAt(const PlotAxes &axes, int centreX, int centreY)
{
    const PlotArea &area = axes.area;
    return { .frequency = axes.frequencyAt(centreX),
        .gain = static_cast<double>(area.middle() - centreY) * axes.dBmax / area.halfHeight() };
}

HandleValues clampHandleValues(int kind, const HandleValues &values, const PlotAxes &axes)
{
    switch (kind) {
    case BandKindHighPass:
        return { std::clamp(values.frequency, axes.fmin, HighPassHandleMaxFrequency), 0.0 };
    case BandKindLowPass:
        return { std::clamp(values.frequency, axes.fmin, axes.fmax), 0.0 };
    default:
        return { std::clamp(values.frequency, axes.fmin, axes.fmax),
            std::clamp(values.gain, axes.dBmin, axes.dBmax) };
    }
}

bool isDecadeLine(int frequency)
{
    return frequency == 100 || frequency == 1000 || frequency == 10000;
}

std::vector<AxisLabel> gainLabels(const PlotAxes &axes)
{
    std::vector<AxisLabel> labels;
    const PlotArea &area = axes.area;
    for (int k = 0; k <= 9; ++k) {
        const int value = static_cast<int>(axes.dBmin + k * (axes.dBmax - axes.dBmin) / 10);
        labels.push_back({ std::to_string(value), double(area.bottom - k * area.height() / 10) });
    }
    labels.push_back({ std::to_string(static_cast<int>(axes.dBmax)) + "dB", double(area.top) });
    return labels;
}

std::vector<AxisLabel> frequencyLabels(const PlotAxes &axes)
{
    struct Mark {
        double frequency;
        const char *text;
    };
    static constexpr Mark Marks[]
        = { { 20, "20" }, { 100, "100" }, { 1000, "1K" }, { 10000, "10K" }, { 20000, "20K" } };
    std::vector<AxisLabel> labels;
    for (const Mark &mark : Marks)
        labels.push_back({ mark.text, axes.xOf(mark.frequency) });
    return labels;
}

} // namespace arx

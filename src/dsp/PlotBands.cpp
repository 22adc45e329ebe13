#include "dsp/PlotBands.h"

#include "dsp/ResponseCurves.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace arx {

namespace {

void bandCurve(const PlotBand &band, ResponseCurve &curve)
{
    switch (band.kind) {
    case BandKindEqualiser:
        if (band.shape == EqShapePeaking)
            peakingResponse(band.frequency, band.gain, 1.0 / band.q, curve);
        else
            shelfResponse(band.shape, band.frequency, band.gain, curve);
        return;
    case BandKindHighPass:
        if (band.enabled)
            highPassResponse(static_cast<int>(band.q), band.frequency, curve);
        else
            curve.fill(0.0);
        return;
    case BandKindLowPass:
        if (band.enabled)
            lowPassResponse(static_cast<int>(band.q), band.frequency, curve);
        else
            curve.fill(0.0);
        return;
    default:
        curve.fill(0.0);
    }
}

} // namespace

void computePlotCurves(
    std::span<const PlotBand> bands, PlotBandCurves &curves, ResponseCurve &total)
{
    total.fill(0.0);
    const std::size_t count = std::min<std::size_t>(bands.size(), PlotBandCapacity);
    for (std::size_t b = 0; b < count; ++b) {
        bandCurve(bands[b], curves[b]);
        for (std::size_t k = 0; k < GridPointCount; ++k)
            total[k] += curves[b][k];
    }
}

std::uint32_t plotBandColour(int index)
{
    static constexpr std::uint32_t Colours[] = { 0x80FF3333, 0x8099CCCC, 0x80FFFFFF, 0x800099CC,
        0x80CC3399, 0x80FFFF00, 0x8099FF00, 0x80FF99CC, 0x80FF3333 };
    if (index >= 0 && index < static_cast<int>(std::size(Colours)))
        return Colours[index];
    return 0xFF00FF00;
}

std::vector<PlotPoint> curveOutline(const PlotAxes &axes, const ResponseCurve &curve)
{
    std::vector<PlotPoint> outline;
    outline.reserve(GridPointCount + 2);
    const double middle = axes.area.middle();
    outline.push_back({ double(axes.area.left), middle });
    for (std::size_t k = 0; k < GridPointCount; ++k) {
        const double frequency = FrequencyGrid[k];
        if (frequency >= axes.fmin && frequency <= axes.fmax)
            outline.push_back({ axes.xOf(frequency), axes.yOf(curve[k]) });
    }
    outline.push_back({ double(axes.area.right), middle });
    return outline;
}

std::string pointReadout(const PlotBand &band, const HandleValues &values)
{
    char frequency[32];
    if (values.frequency >= 10000)
        std::snprintf(frequency, sizeof frequency, "%.1f kHz", values.frequency / 1000);
    else if (values.frequency >= 1000)
        std::snprintf(frequency, sizeof frequency, "%.2f kHz", values.frequency / 1000);
    else
        std::snprintf(frequency, sizeof frequency, "%d Hz", static_cast<int>(values.frequency));
    char text[96];
    const double gain = std::abs(values.gain) < 0.05 ? 0.0 : values.gain; // never "-0.0"
    if (band.kind == BandKindEqualiser)
        std::snprintf(text, sizeof text, "%s  %+.1f dB  Q %.1f", frequency, gain, band.q);
    else
        std::snprintf(text, sizeof text, "%s  %s", frequency,
            band.kind == BandKindHighPass ? "low cut" : "high cut");
    return text;
}

} // namespace arx
